#include "platform/focusmarks.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

namespace platform {
namespace {

// Space between a push button's edge and its focus frame.
constexpr int kButtonFocusInset = 3;

// The application's style with a focus frame on the controls that would show none.
class FocusMarkStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        QProxyStyle::drawControl(element, option, painter, widget);
        if (!option->state.testFlag(State_HasFocus)) {
            return;
        }
        if (element == CE_PushButton) {
            drawFocusFrame(*option,
                           option->rect.adjusted(kButtonFocusInset, kButtonFocusInset,
                                                 -kButtonFocusInset, -kButtonFocusInset),
                           painter, widget);
        } else if (element == CE_ShapedFrame &&
                   qobject_cast<const QAbstractScrollArea*>(widget) != nullptr) {
            painter->save();
            painter->setPen(QPen(option->palette.highlight(), 1));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            painter->restore();
        }
    }

  private:
    void drawFocusFrame(const QStyleOption& option, const QRect& rect, QPainter* painter,
                        const QWidget* widget) const {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = rect;
        focus.backgroundColor = option.palette.button().color();
        proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
    }
};

}  // namespace

void showFocusOnEveryControl() {
    if (dynamic_cast<FocusMarkStyle*>(QApplication::style()) != nullptr) {
        return;
    }
    QApplication::setStyle(new FocusMarkStyle(QApplication::style()->name()));
}

}  // namespace platform

#include "hooks/accelerationrules.h"

#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "context/programcontext.h"
#include "resources/dialogtemplates.h"

namespace hooks {
namespace {

// The dialog reads at most this many characters of a field.
constexpr int kFieldCharacters = 19;

QLineEdit* field(QDialog& dialog, int id) {
    return qobject_cast<QLineEdit*>(platform::findItem(dialog, id));
}

void prepareField(QDialog& dialog, int id, int32_t value, const QString& name) {
    if (QLineEdit* edit = field(dialog, id)) {
        edit->setText(QString::number(value));
        edit->setAccessibleName(name);
    }
}

void onButton(QDialog& dialog, int id, std::function<void()> action) {
    if (auto* button = qobject_cast<QPushButton*>(platform::findItem(dialog, id))) {
        QObject::connect(button, &QPushButton::clicked, &dialog, std::move(action));
    }
}

}  // namespace

int32_t ruleLengthOf(const QString& text) {
    const QString typed = text.left(kFieldCharacters);
    int index = 0;
    while (index < typed.size() && typed[index].isSpace()) {
        ++index;
    }
    bool negative = false;
    if (index < typed.size() && (typed[index] == u'+' || typed[index] == u'-')) {
        negative = typed[index] == u'-';
        ++index;
    }
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; index < typed.size() && typed[index] >= u'0' && typed[index] <= u'9'; ++index) {
        value = std::min(value * 10 + (typed[index].unicode() - u'0'), kLimit);
    }
    return static_cast<int32_t>(negative ? -value : std::min(value, kLimit - 1));
}

std::unique_ptr<QDialog> makeAccelerationDialog(const context::EngineSession& session,
                                                QWidget* owner) {
    std::unique_ptr<QDialog> dialog =
        platform::buildDialog(resources::accelerationTemplate(), owner);
    QDialog& shown = *dialog;
    prepareField(shown, resources::kFirstRuleLength, 256,
                 QStringLiteral("Max. Length for 1st Rule"));
    prepareField(shown, resources::kSecondRuleLength, 0,
                 QStringLiteral("Max. Length for 2nd Rule"));
    onButton(shown, resources::kAccelerationOk, [&session, &shown] {
        session.engine->EngineSetAccelerationRule(
            session.engineInstance, ruleLengthOf(field(shown, resources::kFirstRuleLength)->text()),
            ruleLengthOf(field(shown, resources::kSecondRuleLength)->text()));
        shown.done(1);
    });
    onButton(shown, resources::kAccelerationCancel, [&shown] { shown.done(1); });
    QObject::connect(&shown, &QDialog::rejected, &shown, [&shown] { shown.setResult(1); });
    return dialog;
}

int setAccelerationRules(const context::EngineSession& session, QWidget* owner) {
    makeAccelerationDialog(session, owner)->exec();
    return 1;
}

}  // namespace hooks

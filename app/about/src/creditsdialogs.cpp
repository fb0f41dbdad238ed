#include "about/creditsdialogs.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "context/programcontext.h"
#include "resources/creditspictures.h"
#include "resources/dialogtemplates.h"

namespace about {
namespace {

const char kToNames[] = "Please click on the picture to look at the list of names!";
const char kToPicture[] = "Please click on the list of names to look at the picture!";

// The space the button leaves for its picture inside its frame.
constexpr int kPictureMargin = 8;

}  // namespace

GroupPictureDialog::GroupPictureDialog(context::ProgramContext& program, QWidget* owner)
    : m_program(program),
      m_dialog(platform::buildDialog(resources::groupPictureTemplate(), owner)),
      m_picture(
          qobject_cast<QPushButton*>(platform::findItem(*m_dialog, resources::kGroupPicture))),
      m_hint(qobject_cast<QLabel*>(platform::findItem(*m_dialog, resources::kGroupPictureHint))) {
    m_dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->installEventFilter(this);
    m_picture->setText({});
    m_picture->setIconSize(m_picture->size() - QSize(kPictureMargin, kPictureMargin));
    connect(m_picture, &QPushButton::clicked, this, [this] { onPictureClick(); });
    if (auto* close = qobject_cast<QPushButton*>(
            platform::findItem(*m_dialog, resources::kGroupPictureClose))) {
        connect(close, &QPushButton::clicked, this, [this] {
            m_photoShowsNames = false;
            m_picture->setIcon({});
            m_dialog->done(1);
        });
    }
    showPicture();
    m_picture->setFocus();  // the first item takes the keys, not the default button
}

GroupPictureDialog::~GroupPictureDialog() = default;

int GroupPictureDialog::exec() {
    return m_dialog->exec();
}

// Only Close ends the dialog: Escape and the window's close are refused.
bool GroupPictureDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_dialog.get()) {
        return false;
    }
    if (event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return event->type() == QEvent::KeyPress &&
           static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

void GroupPictureDialog::onPictureClick() {
    m_photoShowsNames = !m_photoShowsNames;
    showPicture();
    m_picture->setFocus();  // the first item takes the keys, not the default button
}

void GroupPictureDialog::showPicture() {
    const QString hint = QString::fromLatin1(m_photoShowsNames ? kToPicture : kToNames);
    m_hint->setText(hint);
    m_picture->setAccessibleName(m_photoShowsNames ? QStringLiteral("List of names")
                                                   : QStringLiteral("Group picture"));
    m_picture->setAccessibleDescription(hint);
    const QPixmap picture = resources::loadCreditsPicture(
        m_photoShowsNames ? resources::kNamesPicture : resources::kGroupPhoto);
    m_picture->setIcon(QIcon(picture));
    if (picture.isNull()) {
        m_program.services.messages->show(m_dialog.get(), QStringLiteral("LoadBitmap error!"),
                                          QStringLiteral("Photo"), platform::MessageIcon::None,
                                          platform::MessageButtons::Ok);
    }
}

std::unique_ptr<QDialog> makeSupportingGroupDialog(QWidget* owner) {
    std::unique_ptr<QDialog> dialog =
        platform::buildDialog(resources::supportingGroupTemplate(), owner);
    QDialog& shown = *dialog;
    if (auto* ok =
            qobject_cast<QPushButton*>(platform::findItem(shown, resources::kSupportingGroupOk))) {
        QObject::connect(ok, &QPushButton::clicked, &shown, [&shown] { shown.done(1); });
    }
    QObject::connect(&shown, &QDialog::rejected, &shown, [&shown] { shown.setResult(1); });
    return dialog;
}

}  // namespace about

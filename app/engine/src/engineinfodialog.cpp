#include "engine/engineinfodialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstring>

#include "common/codepage.h"
#include "context/programcontext.h"
#include "resources/dialogtemplates.h"
#include "resources/programicon.h"

namespace engine {
namespace {

// A fixed-size text field of an engine record, which need not end in a zero.
template <std::size_t N>
QString textOf(const char (&field)[N]) {
    return QString::fromStdString(common::ansiToUtf8(std::string(field, ::strnlen(field, N))));
}

void showInField(QDialog& dialog, int id, const QString& name, const QString& text) {
    if (auto* field = qobject_cast<QLineEdit*>(platform::findItem(dialog, id))) {
        field->setAccessibleName(name);
        field->setText(text);
        field->setEnabled(false);
    }
}

void showInLabel(QDialog& dialog, int id, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(platform::findItem(dialog, id))) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignHCenter);
        label->setText(text);
    }
}

void showLanguage(QDialog& dialog, const context::AppState& state,
                  const context::EngineSession& session) {
    const int slot = state.Language - 1;
    const int32_t position = slot >= 0 && slot < context::kLanguageSlots
                                 ? state.languageNumber[static_cast<std::size_t>(slot)]
                                 : 0;
    LanguageInfo info{};
    session.engine->EngineGetLanguageInfo(session.engineInstance, position, &info);
    showInField(dialog, resources::kEngineInfoLanguage, QStringLiteral("Language"),
                textOf(info.language));
    showInField(dialog, resources::kEngineInfoCountry, QStringLiteral("Country"),
                textOf(info.country));
    showInField(dialog, resources::kEngineInfoCodingScheme, QStringLiteral("Coding Scheme"),
                textOf(info.codingScheme));
    showInField(dialog, resources::kEngineInfoVersion, QStringLiteral("Version"),
                textOf(info.version));
    showInField(dialog, resources::kEngineInfoSpeakers, QStringLiteral("Speaker Number"),
                QString::number(info.speakerCount));
}

void showManufacturer(QDialog& dialog, const context::EngineSession& session) {
    ManufacturerInfo info{};
    session.engine->EngineGetManufacturerInfo(&info);
    showInLabel(dialog, resources::kEngineInfoNotice, textOf(info.noticeText));
    showInLabel(dialog, resources::kEngineInfoManufacturer, textOf(info.manufacturer));
}

}  // namespace

std::unique_ptr<QDialog> makeEngineInfoDialog(const context::AppState& state,
                                              const context::EngineSession& session,
                                              QWidget* owner) {
    std::unique_ptr<QDialog> dialog = platform::buildDialog(resources::engineInfoTemplate(), owner);
    showLanguage(*dialog, state, session);
    showManufacturer(*dialog, session);
    platform::layOutDialog(*dialog, resources::engineInfoTemplate());  // for the engine's texts
    if (auto* icon =
            qobject_cast<QLabel*>(platform::findItem(*dialog, resources::kEngineInfoIcon))) {
        icon->setPixmap(resources::programIcon().pixmap(icon->size()));
        icon->setAccessibleName(QStringLiteral("Program icon"));
    }
    if (auto* ok =
            qobject_cast<QPushButton*>(platform::findItem(*dialog, resources::kEngineInfoOk))) {
        QObject::connect(ok, &QPushButton::clicked, dialog.get(), &QDialog::accept);
    }
    return dialog;
}

int aboutEngineDialog(const context::AppState& state, const context::EngineSession& session,
                      QWidget* owner) {
    return makeEngineInfoDialog(state, session, owner)->exec();
}

}  // namespace engine

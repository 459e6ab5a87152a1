#include "SettingsCommands.h"

#include "TfrmMain.h"
#include "TfrmSettings.h"
#include "ViewCommands.h"

#include <QMenuBar>

namespace zelmox {

SettingsCommands::SettingsCommands(TfrmMain& window, QMenuBar* menuBar)
    : QObject(&window), window_(window) {
    QMenu* edit = menuBar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    QAction* settings1 =
        edit->addAction(QStringLiteral("Settings"), this, &SettingsCommands::Settings1Click);
    settings1->setObjectName(QStringLiteral("Settings1"));
    settings1->setShortcut(QKeySequence(Qt::Key_F10));
}

void SettingsCommands::Settings1Click() {
    // Every other setting takes effect where it is next read; the client needs telling.
    if (ShowSettingsDialog()) {
        ApplyConnectionSettings(window_.MainClient(), window_.Settings());
    }
}

bool SettingsCommands::ShowSettingsDialog() {
    TfrmSettings dialog(window_.Settings(), window_.Paths().DataFolder, window_.Prompts(),
                        window_.Sounds(), &window_);
    dialog.BuildSettingsDisplay();
    const HelpOpener help = window_.Views().HelpPages();
    connect(&dialog, &TfrmSettings::HelpRequested, &dialog,
            [&dialog, help](const QString& page) { help(page, &dialog); });
    return dialog.exec() == QDialog::Accepted;
}

} // namespace zelmox

#pragma once

#include <QTextBrowser>

namespace zelmox {

class ShellOpener;

// Shows the help pages that come with the program. It runs no scripts and shows only pages of
// the help folder: a web or mail address in a page opens in the user's own program through the
// shell, and any other link is refused. A page that is not there shows a plain note instead.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    // The folder of the help pages among the compiled-in resources.
    static const QUrl Folder;

    HelpBrowser(ShellOpener& shell, QWidget* parent = nullptr);

    // A page of the help folder by its file name ("index.htm").
    static QUrl PageUrl(const QString& pageName);
    static bool IsHelpPage(const QUrl& url);
    // Addresses that belong to the user's browser or mail program.
    static bool IsWebAddress(const QUrl& url);

    // What a click on a link does: a help page opens here, a web address through the shell.
    void FollowLink(const QUrl& link);

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    ShellOpener& shell_;
};

} // namespace zelmox

#include "TfrmHelp.h"

#include "FixedSizeWindow.h"
#include "HelpBrowser.h"

#include <QComboBox>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

static void InitialiseHelpPages() {
    Q_INIT_RESOURCE(help);
}

namespace zelmox {

namespace {

struct NavigationItem {
    const char* Text;
    const char* Page;
};

constexpr NavigationItem NavigationItems[] = {
    {"-- Navigate --", ""},       {"Index", "index.htm"},  {"Overview", "overview.htm"},
    {"About", "about.htm"},       {"How To", "howto.htm"}, {"Technical", "technical.htm"},
    {"Useless Info", "cool.htm"},
};

QToolButton* MakeButton(const char* name, const char* caption, const char* hint,
                        QStyle::StandardPixmap image) {
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromLatin1(caption));
    button->setToolTip(QString::fromLatin1(hint));
    button->setAccessibleName(QString::fromLatin1(hint));
    button->setIcon(button->style()->standardIcon(image));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

} // namespace

TfrmHelp::TfrmHelp(ShellOpener& shell, QWidget* parent)
    : QWidget(parent, Qt::Window),
      tbBack_(MakeButton("tbBack", "Back", "previous page", QStyle::SP_ArrowBack)),
      tbForward_(MakeButton("tbForward", "Forward", "next page", QStyle::SP_ArrowForward)),
      cbNavigate_(new QComboBox), wbMain_(new HelpBrowser(shell)) {
    // Registering the pages again is harmless: the resource system keeps one copy.
    InitialiseHelpPages();
    setObjectName(QStringLiteral("frmHelp"));
    setAttribute(Qt::WA_DeleteOnClose);
    QToolButton* tbClose =
        MakeButton("tbClose", "Close", "close the help window", QStyle::SP_DialogCloseButton);
    QToolButton* tbHome =
        MakeButton("tbHome", "Home", "return to the index page", QStyle::SP_DirHomeIcon);
    cbNavigate_->setObjectName(QStringLiteral("cbNavigate"));
    cbNavigate_->setToolTip(QStringLiteral("jump to any page"));
    cbNavigate_->setAccessibleName(QStringLiteral("jump to any page"));
    for (const NavigationItem& item : NavigationItems) {
        cbNavigate_->addItem(QString::fromLatin1(item.Text), QString::fromLatin1(item.Page));
    }
    tbBack_->setEnabled(false);
    tbForward_->setEnabled(false);
    wbMain_->setObjectName(QStringLiteral("wbMain"));

    auto* bar = new QToolBar;
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->addWidget(tbClose);
    bar->addSeparator();
    bar->addWidget(tbHome);
    bar->addSeparator();
    bar->addWidget(tbBack_);
    bar->addWidget(tbForward_);
    bar->addSeparator();
    bar->addWidget(cbNavigate_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(wbMain_, 1);

    connect(tbClose, &QToolButton::clicked, this, &TfrmHelp::tbCloseClick);
    connect(tbHome, &QToolButton::clicked, this, &TfrmHelp::tbHomeClick);
    connect(tbBack_, &QToolButton::clicked, this, &TfrmHelp::tbBackClick);
    connect(tbForward_, &QToolButton::clicked, this, &TfrmHelp::tbForwardClick);
    connect(cbNavigate_, &QComboBox::activated, this, &TfrmHelp::cbNavigateChange);
    connect(wbMain_, &QTextBrowser::backwardAvailable, tbBack_, &QWidget::setEnabled);
    connect(wbMain_, &QTextBrowser::forwardAvailable, tbForward_, &QWidget::setEnabled);
    connect(wbMain_, &QTextBrowser::sourceChanged, this, &TfrmHelp::wbMainTitleChange);

    FixWindowSize(*this, QSize(ClientWidth, ClientHeight));
    if (const QScreen* shown = screen()) {
        move(shown->availableGeometry().center() - rect().center());
    }
}

void TfrmHelp::OpenPage(const QString& pageName) {
    wbMain_->setSource(HelpBrowser::PageUrl(pageName));
}

void TfrmHelp::tbCloseClick() {
    close();
}

void TfrmHelp::tbHomeClick() {
    OpenPage(QString::fromLatin1(IndexPage));
}

void TfrmHelp::tbBackClick() {
    wbMain_->backward();
}

void TfrmHelp::tbForwardClick() {
    wbMain_->forward();
}

void TfrmHelp::cbNavigateChange(int index) {
    const QString page = cbNavigate_->itemData(index).toString();
    if (!page.isEmpty()) {
        OpenPage(page);
    }
}

void TfrmHelp::wbMainTitleChange() {
    setWindowTitle(wbMain_->documentTitle());
}

TfrmHelp* ShowHelp(const QString& pageName, ShellOpener& shell, QWidget* opener) {
    // No parent: the window outlives the one that opened it.
    auto* help = new TfrmHelp(shell);
    help->OpenPage(pageName.isEmpty() ? QString::fromLatin1(TfrmHelp::IndexPage) : pageName);
    QWidget* asking = opener != nullptr ? opener->window() : nullptr;
    if (asking != nullptr && asking->isModal() && asking->windowHandle() != nullptr) {
        // A window the modal dialog stands for is not blocked by it.
        help->winId();
        help->windowHandle()->setTransientParent(asking->windowHandle());
    }
    help->show();
    return help;
}

} // namespace zelmox

#include "TfrmAbout.h"

#include "DisplayText.h"
#include "MakerSite.h"
#include "Ports.h"
#include "SystemText.h"

#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QToolButton>

namespace zelmox {

namespace {

const QColor BandColour(218, 254, 251);
const QColor StripColour(236, 255, 254);
const QColor TextColour(2, 79, 73);
const QColor LineColour(3, 107, 100);
const QColor FrameColour(192, 192, 192);

constexpr int TextLeft = 8;
// Right of this the cube turns; longer texts wrap before it.
constexpr int TextWidth = 288;

QLabel* MakeLabel(QWidget* parent, const QString& name, int top) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, TextColour);
    label->setPalette(palette);
    label->move(TextLeft, top);
    label->setFixedWidth(TextWidth);
    return label;
}

QToolButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& geometry) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setGeometry(geometry);
    return button;
}

} // namespace

TfrmAbout::TfrmAbout(const QString& versionText, ShellOpener& shell, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), versionText_(versionText),
      shell_(shell), timer1_(this) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(ClientWidth, ClientHeight);
    // The box is laid out to the pixel for a small face; a condensed one keeps the texts within
    // their places where Tahoma is missing.
    QFont small;
    small.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed")});
    small.setPointSize(8);
    setFont(small);
    BuildControls();
    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setInterval(TimerIntervalMs);
    connect(&timer1_, &QTimer::timeout, this, &TfrmAbout::Timer1Timer);
    ShowPicture();
}

void TfrmAbout::BuildControls() {
    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Image1"));
    logo->setGeometry(60, 8, 307, 98);
    logo->setPixmap(QIcon(QStringLiteral(":/icons/about-logo.svg")).pixmap(307, 98));

    MakeLabel(this, QStringLiteral("lText"), 126)
        ->setText(QStringLiteral("Watches web pages and files for you."));
    lVersion_ = MakeLabel(this, QStringLiteral("lVersion"), 146);
    lSystem_ = MakeLabel(this, QStringLiteral("lSystem"), 162);

    image3_ = new QLabel(this);
    image3_->setObjectName(QStringLiteral("Image3"));
    image3_->setGeometry(302, 128, CubePicture::Size, CubePicture::Size);

    const QString email = MakerEmail();
    QToolButton* sbEmail = MakeButton(this, QStringLiteral("sbEmail"), email, {8, 264, 185, 22});
    sbEmail->setIcon(QIcon(QStringLiteral(":/icons/email.svg")));
    sbEmail->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QToolButton* sbWebsite =
        MakeButton(this, QStringLiteral("sbWebsite"),
                   QStringLiteral("click here for the Zelmox website"), {8, 288, 185, 22});
    QToolButton* sbClose =
        MakeButton(this, QStringLiteral("sbClose"), QStringLiteral("&Close"), {348, 276, 73, 33});

    connect(sbEmail, &QToolButton::clicked, this,
            [this, email] { shell_.RunProgram(QStringLiteral("mailto:") + email); });
    connect(sbWebsite, &QToolButton::clicked, this,
            [this] { shell_.RunProgram(MakerPage(QStringLiteral("/zelmox/index.htm"))); });
    connect(sbClose, &QToolButton::clicked, this, &QDialog::reject);
}

void TfrmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QWidget* owner = parentWidget()) {
        move(owner->frameGeometry().center() - rect().center());
    }
    lVersion_->setText(versionText_);
    lSystem_->setText(ShowText(SystemText(RunningSystem())));
    for (QLabel* label : {lVersion_, lSystem_}) {
        label->adjustSize();
    }
    timer1_.start();
}

void TfrmAbout::hideEvent(QHideEvent* event) {
    timer1_.stop();
    QDialog::hideEvent(event);
}

void TfrmAbout::Timer1Timer() {
    cube_.Step();
    ShowPicture();
}

void TfrmAbout::ShowPicture() {
    QImage image(CubePicture::Size, CubePicture::Size, QImage::Format_RGB32);
    image.fill(BandColour);
    const QRgb line = LineColour.rgb();
    for (int y = 0; y < CubePicture::Size; ++y) {
        for (int x = 0; x < CubePicture::Size; ++x) {
            if (cube_.Picture().IsSet(x, y)) {
                image.setPixel(x, y, line);
            }
        }
    }
    image3_->setPixmap(QPixmap::fromImage(image));
}

void TfrmAbout::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.fillRect(2, 112, 424, 137, BandColour);
    // The strips lie over the band's edges and frame it above and below.
    painter.fillRect(2, 110, 424, 8, StripColour);
    painter.fillRect(2, 250, 424, 8, StripColour);
    painter.setPen(FrameColour);
    painter.drawRect(0, 0, ClientWidth - 1, ClientHeight - 1);
}

} // namespace zelmox

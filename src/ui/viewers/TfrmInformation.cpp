#include "TfrmInformation.h"

#include "DisplayText.h"
#include "FixedSizeWindow.h"
#include "WatchFacts.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelmox {

namespace {

const QColor ValueColour(0x69, 0x69, 0x69);
constexpr int PictureSize = 48;
constexpr int HistoryLinesShown = 4;

void Colour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// A value the user can select and copy but not change; long ones scroll inside their line.
QLineEdit* MakeValue(const QString& text) {
    auto* value = new QLineEdit(text);
    value->setReadOnly(true);
    value->setFrame(false);
    value->setCursorPosition(0);
    Colour(value, QPalette::Text, ValueColour);
    return value;
}

QLabel* MakeLabel(const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption);
    label->setBuddy(buddy);
    buddy->setAccessibleName(caption);
    return label;
}

} // namespace

TfrmInformation::TfrmInformation(const TWatchObject& object, const std::string& dataFolder,
                                 QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmInformation"));
    setWindowTitle(QStringLiteral("Information"));
    setAutoFillBackground(true);
    Colour(this, QPalette::Window, Qt::white);
    Colour(this, QPalette::Base, Qt::white);

    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("Bevel1"));
    frame->setFrameShape(QFrame::Box);
    auto* grid = new QGridLayout(frame);
    grid->setObjectName(QStringLiteral("gInformation"));
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(3, 1);
    auto* picture = new QLabel;
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QIcon(QStringLiteral(":/icons/info.svg")).pixmap(PictureSize));

    int row = 0;
    for (const InformationLine& line : WatchInformation(object, dataFolder)) {
        QLineEdit* value = MakeValue(ShowText(line.Value));
        grid->addWidget(MakeLabel(QString::fromStdString(line.Label), value), row, 1);
        // A note stands right beside its size; other values take the whole width.
        grid->addWidget(value, row, 2, 1, line.PageMissing ? 1 : 2);
        if (line.PageMissing) {
            auto* note = new QLabel(QStringLiteral("(page not available)"));
            Colour(note, QPalette::WindowText, Qt::red);
            grid->addWidget(note, row, 3);
        }
        ++row;
    }
    auto* history = new QListWidget;
    history->setObjectName(QStringLiteral("lbHistory"));
    history->setSelectionMode(QAbstractItemView::NoSelection);
    history->setFocusPolicy(Qt::NoFocus);
    // The list takes the height the lines above leave, with room for a few entries at least.
    history->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    history->setMinimumHeight(history->fontMetrics().lineSpacing() * HistoryLinesShown);
    Colour(history, QPalette::Text, ValueColour);
    for (const std::string& entry : HistoryNewestFirst(object)) {
        history->addItem(ShowText(entry));
    }
    grid->addWidget(MakeLabel(QStringLiteral("Change History"), history), row, 1, Qt::AlignTop);
    grid->addWidget(history, row, 2, 1, 2);
    grid->setRowStretch(row, 1);
    grid->addWidget(picture, 0, 0, row + 1, 1, Qt::AlignTop | Qt::AlignLeft);

    auto* close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("bClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);
    // The classic size, larger only where the system's fonts need the room.
    FixWindowSize(*this, QSize(ClientWidth, ClientHeight).expandedTo(sizeHint()));
    close->setFocus();
}

void ShowWatchInformation(const TWatchObject& object, const std::string& dataFolder,
                          QWidget* parent) {
    TfrmInformation page(object, dataFolder, parent);
    page.exec();
}

} // namespace zelmox

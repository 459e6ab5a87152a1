#include "StatusPanels.h"

#include "SectionModel.h"

#include <QLabel>

namespace zelmox {

namespace {

constexpr int CountPanelWidth = 55;
const QString NoticeStyle =
    QStringLiteral("QLabel { background-color: #fff2a8; color: black; font-weight: bold; }");

} // namespace

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    for (int panel = 0; panel < 4; ++panel) {
        panels_[panel] = new QLabel(this);
        panels_[panel]->setObjectName(QStringLiteral("StatusPanel%1").arg(panel));
        panels_[panel]->setFrameShape(QFrame::StyledPanel);
        if (panel == 0) {
            panels_[panel]->setMinimumWidth(150);
            addWidget(panels_[panel], 1);
        } else {
            panels_[panel]->setFixedWidth(CountPanelWidth);
            addPermanentWidget(panels_[panel]);
        }
    }
    noticeTimer_.setSingleShot(true);
    connect(&noticeTimer_, &QTimer::timeout, this, &StatusPanels::EndNotice);
}

void StatusPanels::SetPanel0(const QString& text) {
    panel0Text_ = text;
    if (!ShowsNotice()) {
        panels_[0]->setText(text);
    }
}

void StatusPanels::ShowNotice(const QString& text) {
    clearMessage();
    panels_[0]->setStyleSheet(NoticeStyle);
    panels_[0]->setText(text);
    noticeTimer_.start(NoticeMs);
}

void StatusPanels::EndNotice() {
    panels_[0]->setStyleSheet(QString());
    panels_[0]->setText(panel0Text_);
}

void StatusPanels::ShowHint(const QString& hint) {
    if (!ShowsNotice()) {
        showMessage(hint);
    }
}

QString StatusPanels::PanelText(int panel) const {
    return panels_[panel]->text();
}

void StatusPanels::RefreshStatusBar(const SectionModel& model) {
    const Section& active = model.Tab(model.ActiveTab());
    const bool activeHasWatch = active.Row(1).HoldsWatch();
    panels_[1]->setText(QString::number(activeHasWatch ? active.RowCount() - 1 : 0));
    panels_[2]->setText(QString::number(model.WatchCount()));
    panels_[3]->setText(QString::number(model.HighlightedCount()));
}

} // namespace zelmox

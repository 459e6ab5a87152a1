#include "TfrmWatch.h"

#include "DisplayText.h"
#include "FixedSizeWindow.h"
#include "SectionModel.h"
#include "WatchFacts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zelmox {

namespace {

constexpr int ColumnWidths[StatisticsHeader.size()] = {190, 70, 53, 53, 53, 53, 53, 53, 53, 50};
constexpr int GridWidth = 705;
constexpr int GridHeight = 137;

} // namespace

TfrmWatch::TfrmWatch(QWidget* parent) : QDialog(parent), sgInfo_(new QTableWidget(this)) {
    setObjectName(QStringLiteral("frmWatch"));
    setWindowTitle(QStringLiteral("Info"));
    sgInfo_->setObjectName(QStringLiteral("sgInfo"));
    sgInfo_->setAccessibleName(QStringLiteral("Sections"));
    sgInfo_->setColumnCount(static_cast<int>(StatisticsHeader.size()));
    sgInfo_->verticalHeader()->hide();
    sgInfo_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgInfo_->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgInfo_->setAlternatingRowColors(true);
    sgInfo_->setFocusPolicy(Qt::NoFocus);
    sgInfo_->verticalHeader()->setDefaultSectionSize(sgInfo_->fontMetrics().height() + 6);
    sgInfo_->setMinimumSize(GridWidth, GridHeight);
    for (int column = 0; column < sgInfo_->columnCount(); ++column) {
        sgInfo_->setColumnWidth(column, ColumnWidths[column]);
    }
    auto* ok = new QPushButton(QStringLiteral("&OK"));
    ok->setObjectName(QStringLiteral("bOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(sgInfo_, 1);
    layout->addLayout(buttons);
    FixWindowSize(*this, QSize(ClientWidth, ClientHeight).expandedTo(sizeHint()));
}

void TfrmWatch::Fill(const SectionModel& model) {
    QStringList header;
    for (const std::string_view title : StatisticsHeader) {
        header << QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size()));
    }
    sgInfo_->setHorizontalHeaderLabels(header);
    const std::string separator = QLocale().decimalPoint().toStdString();
    sgInfo_->setRowCount(model.TabCount());
    for (int tab = 0; tab < model.TabCount(); ++tab) {
        const auto cells = StatisticsRow(model.Tab(tab), separator);
        for (int column = 0; column < sgInfo_->columnCount(); ++column) {
            auto* item = new QTableWidgetItem(ShowText(cells[static_cast<std::size_t>(column)]));
            if (column > 0) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            sgInfo_->setItem(tab, column, item);
        }
    }
}

void TfrmWatch::ShowStatistics(const SectionModel& model) {
    Fill(model);
    exec();
}

} // namespace zelmox

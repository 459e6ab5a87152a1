#include "WatchGridDelegate.h"

#include "Images.h"
#include "Section.h"
#include "SectionTableModel.h"
#include "Settings.h"

#include <QApplication>
#include <QPainter>

namespace zelmox {

namespace {

// How much darker a selected marked row is than its level's colour.
constexpr int SelectedShadePercent = 135;

const WatchRow* RowOf(const QModelIndex& index) {
    return static_cast<const WatchRow*>(
        index.data(SectionTableModel::WatchRole).value<const void*>());
}

} // namespace

WatchGridDelegate::WatchGridDelegate(const TSettings& settings, QObject* parent)
    : QStyledItemDelegate(parent), settings_(settings) {
    for (const int index : {1, 2, 3, 4, 5, ImageFailed, ImageManual}) {
        images_[static_cast<std::size_t>(index)] = StatusImage(index);
    }
}

QColor WatchGridDelegate::RowColour(int changed) const {
    if (changed < 1 || changed > TSettings::kRowColourCount) {
        return {};
    }
    const std::uint32_t bgr = settings_.RowColour[static_cast<std::size_t>(changed - 1)];
    return QColor(static_cast<int>(bgr & 0xff), static_cast<int>((bgr >> 8) & 0xff),
                  static_cast<int>((bgr >> 16) & 0xff));
}

void WatchGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    const WatchRow* row = RowOf(index);
    if (row == nullptr) {
        return;
    }
    const QRect cell = option.rect;
    if (index.column() == ColStatus) {
        PaintStatus(painter, option, *row);
        return;
    }
    const QColor colour = RowColour(row->Object.Changed);
    // A marked row whose level has no colour (999 read back from a file) keeps the normal look.
    if (!row->HoldsWatch() || !row->Object.Highlighted || !colour.isValid()) {
        return;
    }
    painter->save();
    FillMarked(painter, option, colour);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->setClipRect(cell);
    painter->drawText(cell.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

void WatchGridDelegate::FillMarked(QPainter* painter, const QStyleOptionViewItem& option,
                                   QColor colour) const {
    const QRect& cell = option.rect;
    if (!option.state.testFlag(QStyle::State_Selected)) {
        painter->fillRect(cell, colour);
        return;
    }
    painter->fillRect(cell, colour.darker(SelectedShadePercent));
    painter->setPen(option.palette.color(QPalette::Active, QPalette::Highlight));
    painter->drawLine(cell.topLeft(), cell.topRight());
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());
    if (option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = cell;
        focus.backgroundColor = colour;
        const QStyle* style =
            option.widget != nullptr ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
}

void WatchGridDelegate::PaintStatus(QPainter* painter, const QStyleOptionViewItem& option,
                                    const WatchRow& row) const {
    const QRect& cell = option.rect;
    const TWatchObject& object = row.Object;
    if (object.Watch.Manual == 1) {
        painter->drawPixmap(cell.left() + 1, cell.top() + 1, images_[ImageManual]);
    } else if (object.Changed == ChangedFailed) {
        painter->drawPixmap(cell.left() + 1, cell.top() + 1, images_[ImageFailed]);
    } else if (object.Highlighted) {
        const QColor colour = RowColour(object.Changed);
        if (colour.isValid()) {
            painter->save();
            FillMarked(painter, option, colour);
            painter->restore();
            painter->drawPixmap(cell.left() + 1, cell.top() + 2,
                                images_[static_cast<std::size_t>(object.Changed)]);
        }
    }
}

} // namespace zelmox

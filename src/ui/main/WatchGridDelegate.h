#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>
#include <array>
#include <cstdint>

namespace zelmox {

struct TSettings;

// Paints a watch row over the grid's own drawing: the status image in the first column and, for a
// marked row, every cell in the colour of its change level; a darker shade of it, framed, while the
// row is selected.
class WatchGridDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    WatchGridDelegate(const TSettings& settings, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The background of a marked row at a change level; invalid for a level without a colour.
    QColor RowColour(int changed) const;

private:
    void PaintStatus(QPainter* painter, const QStyleOptionViewItem& option,
                     const struct WatchRow& row) const;
    // Fills the cell in the row colour, shaded and framed when the row is selected, and draws the
    // focus mark the grid drew before.
    void FillMarked(QPainter* painter, const QStyleOptionViewItem& option, QColor colour) const;

    const TSettings& settings_;
    std::array<QPixmap, 9> images_;
};

} // namespace zelmox

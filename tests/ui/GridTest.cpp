// The grid of a section: column widths, row colours and the status column's sort.
#include "MainWindowFixture.h"
#include "SectionTableModel.h"
#include "WatchGridDelegate.h"

#include <QHeaderView>
#include <QImage>

namespace zelmox::test {
namespace {

TEST(ColumnWidthTest, AddressAndDescriptionShareWhatTheFixedColumnsLeave) {
    // Half of (width - 273), a half rounded to the even neighbour.
    const std::pair<int, int> cases[] = {{600, 164}, {601, 164}, {602, 164}, {603, 165},
                                         {604, 166}, {274, 0},   {273, 0},   {100, 0}};
    for (const auto& [width, expected] : cases) {
        EXPECT_EQ(SectionGrid::AddressColumnWidth(width), expected) << width;
    }
}

// A grid on its own, as the window builds it for a section, with rows the tests fill in.
class GridTest : public ::testing::Test {
protected:
    GridTest() {
        // Stored as 0x00BBGGRR: level 1 green, level 2 red.
        settings.RowColour[0] = 0x0000FF00;
        settings.RowColour[1] = 0x000000FF;
    }

    void Show(int width) {
        grid = std::make_unique<SectionGrid>(&model, &delegate, true);
        grid->resize(width, 200);
        grid->show();
        QCoreApplication::processEvents();
    }

    void Add(const std::string& address, bool highlighted, int changed) {
        TWatchObject object = StoredWatch(address, ScanEntireFile, changed);
        object.Highlighted = highlighted;
        // Short texts, so that the right end of every cell shows only its background.
        object.Watch.LastScan = "x";
        object.Watch.LastChange = "y";
        section.AddWatchRow(object, std::to_string(changed));
        model.Reload();
    }

    QList<int> Widths() const {
        QList<int> widths;
        for (int column = ColStatus; column <= ColLastChange; ++column) {
            widths << grid->columnWidth(column);
        }
        return widths;
    }

    // A pixel near the right end of a cell, away from its text.
    QColor CellPixel(const QImage& image, int gridRow, int column) const {
        const int table = SectionTableModel::TableRow(gridRow);
        const int x = grid->columnViewportPosition(column) + grid->columnWidth(column) - 6;
        const int y = grid->rowViewportPosition(table) + grid->rowHeight(table) / 2;
        return image.pixelColor(x, y);
    }

    TSettings settings;
    Section section{0, "Default"};
    SectionTableModel model{section};
    WatchGridDelegate delegate{settings};
    std::unique_ptr<SectionGrid> grid;
};

TEST_F(GridTest, ColumnWidthsFollowTheGridWidth) {
    Show(600);
    EXPECT_EQ(Widths(), (QList<int>{22, 164, 164, 113, 113}))
        << "the header's smallest section is " << grid->horizontalHeader()->minimumSectionSize();
    EXPECT_TRUE(grid->isColumnHidden(ColSortKey));
    EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 19);

    grid->resize(601, 200);
    EXPECT_EQ(Widths(), (QList<int>{22, 164, 164, 113, 113}));
    grid->resize(1001, 200);
    EXPECT_EQ(Widths(), (QList<int>{22, 364, 364, 113, 113}));
}

TEST_F(GridTest, RowColourIsTheStoredColourOfTheChangeLevel) {
    EXPECT_EQ(delegate.RowColour(1), QColor(0, 255, 0));
    EXPECT_EQ(delegate.RowColour(2), QColor(255, 0, 0));
    EXPECT_EQ(delegate.RowColour(5), QColor(0xee, 0xee, 0xee)) << "15658734 = 0xEEEEEE";
    EXPECT_FALSE(delegate.RowColour(0).isValid());
    EXPECT_FALSE(delegate.RowColour(6).isValid());
    EXPECT_FALSE(delegate.RowColour(ChangedFailed).isValid());
}

TEST_F(GridTest, MarkedRowsArePaintedInTheColourOfTheirLevel) {
    Add("/marked", true, 2);
    Add("/plain", false, 0);
    Add("/failed-loaded", true, ChangedFailed);
    Add("/level-one", true, 1);
    Show(700);
    grid->clearSelection();
    const QImage image = grid->viewport()->grab().toImage();

    for (int column = ColAddress; column <= ColLastChange; ++column) {
        EXPECT_EQ(CellPixel(image, 1, column), QColor(255, 0, 0)) << column;
        EXPECT_EQ(CellPixel(image, 4, column), QColor(0, 255, 0)) << column;
        EXPECT_NE(CellPixel(image, 2, column), QColor(255, 0, 0)) << column;
        // A level without a colour keeps the look of an unmarked row.
        EXPECT_EQ(CellPixel(image, 3, column), CellPixel(image, 2, column)) << column;
    }
    // The status cell is filled too, around its image.
    const QRect status = grid->visualRect(model.index(0, ColStatus));
    EXPECT_EQ(image.pixelColor(status.right() - 1, status.top() + 1), QColor(255, 0, 0));
}

TEST_F(GridTest, SelectedMarkedRowShowsADarkerShadeOfItsColour) {
    Add("/selected", true, 1);
    Add("/other", true, 1);
    Show(700);
    grid->SelectRow(1);
    const QImage image = grid->viewport()->grab().toImage();

    const QRect status = grid->visualRect(model.index(0, ColStatus));
    std::vector<QColor> selected{image.pixelColor(status.right() - 1, status.top() + 2)};
    for (int column = ColAddress; column <= ColLastChange; ++column) {
        EXPECT_EQ(CellPixel(image, 2, column), QColor(0, 255, 0)) << column;
        selected.push_back(CellPixel(image, 1, column));
    }
    for (const QColor& pixel : selected) {
        EXPECT_EQ(pixel, QColor(0, 189, 0)) << "255 / 1.35";
    }
}

// The grid learns of a deleted row while the row still holds the watch that goes, so the
// selection moves to the right neighbour and what follows the selection sees real rows.
TEST_F(GridTest, DeletedRowIsTheOneTheGridIsToldOf) {
    // The row deleted and the address selected afterwards.
    for (const auto& [deleted, selectedAfter] : {std::pair{1, "/b"}, {2, "/c"}, {3, "/b"}}) {
        section.Empty();
        for (const char* address : {"/a", "/b", "/c"}) {
            Add(address, false, 0);
        }
        Show(700);
        grid->SelectRow(deleted);
        QString told;
        QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, grid.get(),
                         [&](const QModelIndex&, int first) {
                             told = model.index(first, ColAddress).data().toString();
                         });
        const QString gone = QString::fromStdString(section.Row(deleted).Cells[ColAddress]);

        model.DeleteRow(deleted);

        EXPECT_EQ(told, gone);
        ASSERT_TRUE(section.IsValidRow(grid->SelectedRow())) << deleted;
        EXPECT_EQ(section.Row(grid->SelectedRow()).Cells[ColAddress], selectedAfter);
    }
}

class StatusSortTest : public MainWindowTest {
protected:
    void SetUp() override {
        CreateAndStart();
        Section& first = Model().Tab(0);
        for (const auto& [address, key] : std::vector<std::pair<std::string, std::string>>{
                 {"/d", "4"}, {"/a", "*"}, {"/e", "?"}, {"/c", "1"}, {"/b", "*"}}) {
            first.AddWatchRow(StoredWatch(address), key);
        }
        Tabs()->ReloadRows(0);
    }

    void ClickHeader(int column) {
        QHeaderView* header = Grid(0)->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    // The sort keys in row order; every row's object must still belong to its cells.
    QStringList Keys() {
        QStringList keys;
        const Section& first = Model().Tab(0);
        for (int row = 1; row < first.RowCount(); ++row) {
            const WatchRow& watchRow = first.Row(row);
            EXPECT_EQ(watchRow.Object.Watch.Address, watchRow.Cells[ColAddress]);
            EXPECT_EQ(Grid(0)->model()->index(row - 1, ColAddress).data().toString(),
                      QString::fromStdString(watchRow.Cells[ColAddress]))
                << "the grid shows the sorted rows";
            keys << QString::fromStdString(watchRow.Cells[ColSortKey]);
        }
        return keys;
    }
};

TEST_F(StatusSortTest, StatusHeaderSortsByTheHiddenKeyAscendingThenDescending) {
    ClickHeader(ColStatus);
    EXPECT_EQ(Keys(), (QStringList{"*", "*", "1", "4", "?"}));
    ClickHeader(ColStatus);
    EXPECT_EQ(Keys(), (QStringList{"?", "4", "1", "*", "*"}));
    ClickHeader(ColStatus);
    EXPECT_EQ(Keys(), (QStringList{"*", "*", "1", "4", "?"}));
}

TEST_F(StatusSortTest, OtherHeadersSortByTheirOwnColumn) {
    ClickHeader(ColAddress);
    EXPECT_EQ(Keys(), (QStringList{"*", "*", "1", "4", "?"})) << "/a /b /c /d /e";
    EXPECT_EQ(Model().Tab(0).Row(1).Cells[ColAddress], "/a");
    window->Sections().SortActiveGrid(0, ColAddress);
    EXPECT_EQ(Model().Tab(0).Row(1).Cells[ColAddress], "/e") << "a second click turns it round";
}

} // namespace
} // namespace zelmox::test

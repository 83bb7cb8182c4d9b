// The dialog frame: dialog units, the integer text rule and the templates'
// layout, keyboard order and input filters.
#include "DialogTestSupport.h"

#include "platform/dialogs/DataExchange.h"
#include "platform/qt/DialogUnits.h"
#include "res/resource.h"

#include <QDialog>
#include <QLabel>
#include <QTest>

#include <algorithm>
#include <climits>

using namespace dialog_testing;

TEST(DialogUnits, MulDivRoundsHalfAwayFromZeroAndRectanglesScaleByQuarterAndEighth) {
    EXPECT_EQ(MulDiv(171, 6, 4), 257);  // 256.5
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(INT_MAX, 4, 2), -1);  // does not fit
    EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
    EXPECT_EQ(MapDialogRect(DialogBaseUnits{6, 13}, 171, 59, 36, 13), QRect(257, 96, 54, 21));
}

// A C string ends at its NUL; out-of-range numbers clamp; a signed zero, or
// anything but blanks around the digits, is no integer and leaves the value
// as it was (12345 below).
TEST(IntegerText, SignedDecimalsWithBlanksAroundAndNothingElse) {
    const std::pair<std::string, int> cases[] = {
        {" \t42\t ", 42}, {"+7", 7}, {"-5", -5}, {"0000", 0}, {std::string("12\0junk", 7), 12},
        {"99999999999", INT_MAX}, {"-99999999999", INT_MIN}, {"", 12345}, {"   ", 12345}, {"-0", 12345},
        {"+0", 12345}, {"-", 12345}, {"12abc", 12345}, {"1 2", 12345}, {"0x10", 12345}, {"- 5", 12345},
        {"\n5", 12345}, {"5\n", 12345}, {"5.0", 12345}};
    for (const auto& [text, expected] : cases) {
        int value = 12345;
        EXPECT_EQ(ParseDialogInteger(text, value), expected != 12345) << '"' << text << '"';
        EXPECT_EQ(value, expected) << '"' << text << '"';
    }
}

// Opens template `id` in a plain dialog, runs `step` inside it, then closes
// it with Escape.
void WithTemplate(int id, const std::function<void(QDialog*)>& step) {
    CDialog dlg(id);
    WhenModalOpens([&](QWidget* w) {
        step(static_cast<QDialog*>(w));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

class TemplateTest : public DialogTest {};

TEST_F(TemplateTest, TabVisitsTheTabStopsInTemplateOrderAndWraps) {
    const std::pair<int, std::vector<int>> orders[] = {
        {IDD_CONFIG, {IDOK, IDCANCEL, IDC_FONT, IDC_GIFBACKGROUNDS, IDC_DELAY, IDC_FILLCOLOR, IDC_ABOUT,
                      IDC_GIFDELAY, IDC_BACKCOLOR, IDOK}},
        {IDD_ABOUTBOX, {IDC_SETUPINFO, IDC_SETUPINFO}},
        {IDD_MORESTUFF, {}},
        {IDD_GIFLIST, {IDOK, IDCANCEL, IDC_GIFLIST, IDC_BROWSE, IDC_REMOVE, IDC_ADDFOLDER, IDOK}},
    };
    for (const auto& [id, expected] : orders) {
        WithTemplate(id, [&, &expected = expected](QDialog* w) {
            std::vector<int> visited;
            // At least one step, so that a template without tab stops must give no focus.
            for (std::size_t i = 0; i < std::max<std::size_t>(expected.size(), 1) && w->focusWidget(); ++i) {
                visited.push_back(ControlId(w->focusWidget()));
                QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
            }
            EXPECT_EQ(visited, expected) << "template " << id;
        });
    }
}

TEST_F(TemplateTest, EnterWithoutADefaultButtonSendsOk) {
    CDialog moreStuff(IDD_MORESTUFF);  // no buttons at all
    WhenModalOpens([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
    EXPECT_EQ(moreStuff.DoModal(), IDOK);
}

// The dialog font resolves to DejaVu Sans here, whose Windows ascent and
// descent (1901 and 483 of 2048 units) give a 13-pixel cell at an 11-pixel em.
TEST_F(TemplateTest, ConfigDialogIsLaidOutInDialogUnitsOfItsFontAndFiltersItsNumberFields) {
    WithTemplate(IDD_CONFIG, [](QDialog* w) {
        EXPECT_EQ(w->font().pixelSize(), MulDiv(8, ScreenLogPixelsY(), 72));
        const DialogBaseUnits units = BaseUnitsOf(w->font());
        EXPECT_EQ(units.cx, 7);
        EXPECT_EQ(units.cy, 13);
        // Where a text is wider than its control (how wide depends on the
        // hinting too), the dialog widens by whole horizontal units and keeps
        // its layout.
        DialogBaseUnits widened = units;
        while (MapDialogRect(widened, 0, 0, 214, 97).width() < w->width())
            ++widened.cx;
        EXPECT_EQ(w->size(), MapDialogRect(widened, 0, 0, 214, 97).size());
        EXPECT_EQ(FindControl(w, IDOK)->geometry(), MapDialogRect(widened, 171, 59, 36, 13));
        for (QLabel* label : w->findChildren<QLabel*>())  // the icon, at the platform's icon size
            EXPECT_TRUE(label->pixmap().isNull() || label->size() == QSize(32, 32));
        QLineEdit* edit = Edit(w, IDC_DELAY);
        edit->clear();
        QTest::keyClicks(edit, "4a-2 ");
        EXPECT_EQ(edit->text(), QStringLiteral("42"));
    });
}

// The group box comes last in the template but must not cover the list.
TEST_F(TemplateTest, GroupBoxListedLastLiesBelowTheListItFrames) {
    WithTemplate(IDD_GIFLIST, [](QDialog* w) {
        QWidget* list = FindControl(w, IDC_GIFLIST);
        QWidget* hit = w->childAt(list->geometry().center());
        while (hit && hit->parentWidget() != w)
            hit = hit->parentWidget();
        EXPECT_EQ(hit, list);
    });
}

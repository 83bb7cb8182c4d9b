// Every dialog's texts fit their controls in the font set-up this program
// runs under (ctest runs it once per set-up, each pinned by a fonts.conf of
// its own): a label's wrapped lines fit its height, a button's or group
// box's text fits its width.
#include "DialogTestSupport.h"

#include "TempDir.h"
#include "config/AboutDlg.h"
#include "platform/qt/DialogUnits.h"
#include "res/resource.h"

#include <QDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include <QRegularExpression>

#include <cstdlib>
#include <string>

using namespace dialog_testing;

namespace {

// Room a button's frame and focus ring take from its text, each side.
constexpr int kButtonPadding = 3;

void ExpectTextsFit(QDialog* w, int templateId) {
    const QString where = QStringLiteral("template %1, \"%2\": ").arg(templateId);
    for (QLabel* label : w->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QFontMetrics metrics(label->font());
        EXPECT_LE(label->heightForWidth(label->width()), label->height())
            << where.arg(label->text()).toStdString() << "wraps below its control";
        for (const QString& word : label->text().split(QRegularExpression(QStringLiteral("\\s+"))))
            EXPECT_LE(metrics.horizontalAdvance(word), label->width()) << where.arg(word).toStdString();
    }
    for (QPushButton* button : w->findChildren<QPushButton*>()) {
        const QFontMetrics metrics(button->font());
        EXPECT_LE(metrics.horizontalAdvance(button->text()) + 2 * kButtonPadding, button->width())
            << where.arg(button->text()).toStdString();
        EXPECT_LE(metrics.height(), button->height()) << where.arg(button->text()).toStdString();
    }
    for (QGroupBox* box : w->findChildren<QGroupBox*>())
        EXPECT_LE(QFontMetrics(box->font()).horizontalAdvance(box->title()) + 4 * kButtonPadding, box->width())
            << where.arg(box->title()).toStdString();
}

class DialogFitTest : public DialogTest {};

}  // namespace

// The set-up is the one ctest chose: its sans face is what the dialogs use.
TEST_F(DialogFitTest, DialogsUseTheSetUpsSansFace) {
    const char* conf = std::getenv("FONTCONFIG_FILE");
    ASSERT_NE(conf, nullptr);
    const std::string expected = std::string(conf).find("noto") != std::string::npos ? "Noto Sans" : "DejaVu Sans";
    CDialog dlg(IDD_CONFIG);
    WhenModalOpens([&](QWidget* w) {
        EXPECT_EQ(QFontInfo(FindControl(w, IDOK)->font()).family().toStdString(), expected);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    dlg.DoModal();
}

// The More Stuff text names the default data folder, longer than the
// template's own.
TEST_F(DialogFitTest, NoTextIsClippedByItsControl) {
    testing_support::ScopedEnv dataHome("XDG_DATA_HOME", "");
    for (int id : {IDD_CONFIG, IDD_ABOUTBOX, IDD_MORESTUFF, IDD_GIFLIST}) {
        CMoreStuffDlg moreStuff;
        CDialog plain(id);
        CDialog& dlg = id == IDD_MORESTUFF ? moreStuff : plain;
        WhenModalOpens([&](QWidget* w) {
            ExpectTextsFit(static_cast<QDialog*>(w), id);
            QTest::keyClick(w, Qt::Key_Escape);
        });
        dlg.DoModal();
    }
}

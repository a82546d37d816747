// The amount field driven by real key events, in a dot and a comma locale.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "client/ui/AmountEdit.h"

namespace tessaly {
namespace {

struct Field {
    explicit Field(const QLocale& locale = QLocale::c()) : edit(nullptr, locale)
    {
        edit.setGrouping(false);
        edit.show();
    }
    AmountEdit edit;
};

TEST(AmountEdit, TypingIntoAFreshFieldGivesTheAmount)
{
    Field field;
    field.edit.setValue(0);
    EXPECT_EQ(field.edit.text(), QStringLiteral(".00"));
    EXPECT_EQ(field.edit.cursorPosition(), 0);
    QTest::keyClick(&field.edit, Qt::Key_5, Qt::NoModifier);
    EXPECT_EQ(field.edit.text(), QStringLiteral("5.00"));
    EXPECT_DOUBLE_EQ(field.edit.value(), 5);
}

TEST(AmountEdit, DecimalKeyMidNumberDropsTheIntegerDigitsAfterTheCursor)
{
    Field field;
    field.edit.setValue(250);
    field.edit.setCursorPosition(1);
    QTest::keyClicks(&field.edit, QStringLiteral(".7"));
    EXPECT_EQ(field.edit.text(), QStringLiteral("2.70"));
    EXPECT_DOUBLE_EQ(field.edit.value(), 2.7);
}

TEST(AmountEdit, BackspaceAndDeleteKeys)
{
    Field field;
    field.edit.setValue(12);
    field.edit.setCursorPosition(3);
    QTest::keyClick(&field.edit, Qt::Key_Backspace);
    EXPECT_EQ(field.edit.text(), QStringLiteral("1.00"));
    EXPECT_EQ(field.edit.cursorPosition(), 1);

    field.edit.setValue(3.45);
    field.edit.setCursorPosition(2);
    QTest::keyClick(&field.edit, Qt::Key_Delete);
    EXPECT_EQ(field.edit.text(), QStringLiteral("3.05"));
    EXPECT_DOUBLE_EQ(field.edit.value(), 3.05);
}

TEST(AmountEdit, BackspaceOverASelectionLeavesTheRestReformatted)
{
    Field field;
    field.edit.setValue(12.5);
    field.edit.setSelection(0, 2);
    QSignalSpy edited(&field.edit, &AmountEdit::valueEdited);
    QTest::keyClick(&field.edit, Qt::Key_Backspace);
    EXPECT_EQ(field.edit.text(), QStringLiteral(".50"));
    EXPECT_DOUBLE_EQ(field.edit.value(), 0.5);
    EXPECT_EQ(edited.count(), 1);

    // A selection made from right to left starts at its left end too.
    field.edit.setValue(12.5);
    field.edit.setCursorPosition(2);
    QTest::keyClick(&field.edit, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&field.edit, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&field.edit, Qt::Key_9);
    EXPECT_EQ(field.edit.text(), QStringLiteral("9.50"));
}

TEST(AmountEdit, EveryOtherCharacterAndEditingShortcutIsIgnored)
{
    Field field;
    field.edit.setValue(12.5);
    field.edit.setCursorPosition(1);
    QTest::keyClicks(&field.edit, QStringLiteral("a -xZ,;e+"));
    QTest::keyClick(&field.edit, Qt::Key_Insert);
    QTest::keyClick(&field.edit, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&field.edit, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&field.edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field.edit.text(), QStringLiteral("12.50"));
    EXPECT_DOUBLE_EQ(field.edit.value(), 12.5);
    EXPECT_EQ(field.edit.contextMenuPolicy(), Qt::NoContextMenu);
}

TEST(AmountEdit, CommaLocaleShowsACommaAndKeepsTheValue)
{
    Field field(QLocale(QLocale::German, QLocale::Germany));
    field.edit.setValue(12.5);
    EXPECT_EQ(field.edit.text(), QStringLiteral("12,50"));
    EXPECT_DOUBLE_EQ(field.edit.value(), 12.5);
    field.edit.setCursorPosition(1);
    QTest::keyClicks(&field.edit, QStringLiteral(".,3"));   // the dot is not this locale's decimal
    EXPECT_EQ(field.edit.text(), QStringLiteral("1,30"));
    EXPECT_DOUBLE_EQ(field.edit.value(), 1.3);
}

TEST(AmountEdit, TextWrittenByTheWindowStaysAsWrittenAndIsReadBack)
{
    Field field;
    field.edit.setText(QStringLiteral("2"));
    EXPECT_EQ(field.edit.text(), QStringLiteral("2"));
    EXPECT_DOUBLE_EQ(field.edit.value(), 2);
    field.edit.setCursorPosition(1);
    QTest::keyClick(&field.edit, Qt::Key_5);
    EXPECT_EQ(field.edit.text(), QStringLiteral("25"));
    EXPECT_DOUBLE_EQ(field.edit.value(), 25);
}

TEST(AmountEdit, GroupingStartsOnUntilSwitchedOff)
{
    AmountEdit edit(nullptr, QLocale::c());
    edit.setValue(1234567.5);
    EXPECT_EQ(edit.text(), QStringLiteral("1,234,567.50"));
    edit.setGrouping(false);
    EXPECT_EQ(edit.text(), QStringLiteral("1234567.50"));
}

} // namespace
} // namespace tessaly

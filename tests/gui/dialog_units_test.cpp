// Dialog units to pixels, and the texts of the core shown in widgets.

#include "app/dialog_units.h"

#include <QtTest>

#include "app/text_codec.h"

Q_DECLARE_METATYPE(DialogRect)
Q_DECLARE_METATYPE(DialogBaseUnits)

class DialogUnitsTest : public QObject {
  Q_OBJECT

 private slots:
  void baseUnitsFromTheFont_data() {
    QTest::addColumn<int>("alphabetWidth");
    QTest::addColumn<int>("fontHeight");
    QTest::addColumn<int>("baseX");
    // The 8-point template font at 96 dpi: 52 letters in 300 px, 13 px high.
    QTest::newRow("8 pt at 96 dpi") << 300 << 13 << 6;
    QTest::newRow("rounds half up") << 286 << 13 << 6;  // 5.5 per letter
    QTest::newRow("rounds down") << 285 << 13 << 5;     // 5.48 per letter
    QTest::newRow("8 pt at 192 dpi") << 600 << 26 << 12;
  }
  void baseUnitsFromTheFont() {
    QFETCH(int, alphabetWidth);
    QFETCH(int, fontHeight);
    QFETCH(int, baseX);
    QCOMPARE(BaseUnitsFromTextExtent(alphabetWidth, fontHeight),
             (DialogBaseUnits{baseX, fontHeight}));
  }

  void mapsRectanglesEdgeByEdge_data() {
    QTest::addColumn<DialogRect>("units");
    QTest::addColumn<DialogBaseUnits>("base");
    QTest::addColumn<QRect>("pixels");
    // At 6 x 13 a unit is 1.5 px across and 1.625 px down.
    QTest::newRow("Write") << DialogRect{15, 15, 30, 14} << DialogBaseUnits{6, 13}
                           << QRect(23, 24, 45, 23);
    QTest::newRow("Read, next to it")
        << DialogRect{60, 15, 30, 14} << DialogBaseUnits{6, 13} << QRect(90, 24, 45, 23);
    QTest::newRow("whole panel") << DialogRect{0, 0, 447, 318} << DialogBaseUnits{6, 13}
                                 << QRect(0, 0, 671, 517);
    QTest::newRow("twice the scale")
        << DialogRect{15, 15, 30, 14} << DialogBaseUnits{12, 26} << QRect(45, 49, 90, 45);
    QTest::newRow("8 px font") << DialogRect{4, 8, 4, 8} << DialogBaseUnits{4, 8}
                               << QRect(4, 8, 4, 8);
  }
  void mapsRectanglesEdgeByEdge() {
    QFETCH(DialogRect, units);
    QFETCH(DialogBaseUnits, base);
    QFETCH(QRect, pixels);
    QCOMPARE(MapDialogRect(units, base), pixels);
  }

  void adjacentControlsStayAdjacent() {
    // Two rectangles that touch in dialog units touch in pixels, whatever the rounding.
    const DialogBaseUnits base{7, 15};
    for (int x = 0; x < 40; ++x) {
      const QRect left = MapDialogRect({x, x, 13, 11}, base);
      const QRect right = MapDialogRect({x + 13, x + 11, 9, 5}, base);
      QCOMPARE(left.right() + 1, right.left());
      QCOMPARE(left.bottom() + 1, right.top());
    }
  }

  void coreTextsShowAsUtf8OrElseLatin1_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ASCII") << QByteArray("STATUS: Port Open")
                           << QStringLiteral("STATUS: Port Open");
    QTest::newRow("valid UTF-8") << QByteArray("Nebel \xC3\xA9t\xC3\xA9")
                                 << QStringLiteral("Nebel \u00e9t\u00e9");
    QTest::newRow("a lone high byte") << QByteArray("Brumo \xE9") << QStringLiteral("Brumo \u00e9");
    QTest::newRow("cut sequence") << QByteArray("ab\xC3") << QStringLiteral("ab\u00c3");
    QTest::newRow("every byte") << QByteArray("\x80\xFF\x7F", 3)
                                << QStringLiteral("\u0080\u00ff\u007f");
    QTest::newRow("zero byte kept")
        << QByteArray("a\0b", 3) << QString(QChar('a')) + QChar(0) + QChar('b');
  }
  void coreTextsShowAsUtf8OrElseLatin1() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QCOMPARE(FromCore(std::string_view(bytes.constData(), std::size_t(bytes.size()))), shown);
  }

  void typedTextGoesToTheCoreAsUtf8() {
    QCOMPARE(ToCore(QStringLiteral("+5")), std::string("+5"));
    QCOMPARE(ToCore(QStringLiteral("\u00e9\u20ac")), std::string("\xC3\xA9\xE2\x82\xAC"));
    QCOMPARE(FromCore(ToCore(QStringLiteral("\u00e9\u20ac"))), QStringLiteral("\u00e9\u20ac"));
  }
};

QTEST_MAIN(DialogUnitsTest)
#include "dialog_units_test.moc"

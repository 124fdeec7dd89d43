#include "TestRegistry.h"

#include "richtext/RtfToText.h"

#include <QTest>

class RtfToTextTest : public QObject
{
    Q_OBJECT

private:
    static void expect(const QByteArray &rtf, int code, const QByteArray &text)
    {
        const RtfToTextResult result = rtfToText(rtf);
        QCOMPARE(result.code, code);
        QCOMPARE(result.text, text);
    }

private slots:
    void readsTheText_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("font table skipped, blank after words consumed")
            << QByteArray(R"({\rtf1{\fonttbl{\f0 Arial;}}\pard Hello\par World\par})") << QByteArray("Hello\nWorld\n");
        QTest::newRow("tab and hex") << QByteArray(R"({\rtf1 a\tab b\'e9\'C4})") << QByteArray("a\tb\xE9\xC4");
        QTest::newRow("starred unknown group skipped")
            << QByteArray(R"({\rtf1 A{\*\mystery hidden \'zz}B})") << QByteArray("AB");
        QTest::newRow("unstarred unknown word ignored, its text kept")
            << QByteArray(R"({\rtf1 A{\mystery kept}B})") << QByteArray("AkeptB");
        QTest::newRow("bin takes bytes as they stand") << QByteArray(R"({\rtf1 \bin3 abc})") << QByteArray("abc");
        QTest::newRow("bin bytes may be braces and backslashes")
            << QByteArray("{\\rtf1 \\bin4 {}\\\\x}") << QByteArray("{}\\\\x");
        QTest::newRow("bin inside a skipped destination is consumed")
            << QByteArray(R"({\rtf1 {\pict\bin2 }}}x})") << QByteArray("x");
        QTest::newRow("bin0 takes no byte") << QByteArray(R"({\rtf1 a\bin0 }b)") << QByteArray("ab");
        QTest::newRow("control symbols") << QByteArray(R"({\rtf1 \{x\}\\})") << QByteArray("{x}\\");
        QTest::newRow("quotes") << QByteArray(R"({\rtf1 \ldblquote q\rdblquote})") << QByteArray("\"q\"");
        QTest::newRow("line gives nothing, u is underline") << QByteArray(R"({\rtf1 a\line b\u8364?c})")
                                                            << QByteArray("ab?c");
        QTest::newRow("only one blank is the delimiter") << QByteArray(R"({\rtf1 \b  two})") << QByteArray(" two");
        QTest::newRow("CR and LF are ignored") << QByteArray("{\\rtf1 a\r\nb\\par\r\nc}") << QByteArray("ab\nc");
        QTest::newRow("negative parameter") << QByteArray(R"({\rtf1 \fi-360 x})") << QByteArray("x");
        QTest::newRow("minus without digits is dropped") << QByteArray(R"({\rtf1 \b-x})") << QByteArray("x");
        QTest::newRow("destinations") << QByteArray(R"({\rtf1 {\info{\title T}{\author A}}{\stylesheet S}body})")
                                      << QByteArray("body");
        QTest::newRow("hex in a skipped destination is not hex")
            << QByteArray(R"({\rtf1 {\*\x \'zz}ok})") << QByteArray("ok");
        QTest::newRow("text before the document group") << QByteArray(R"(pre{\rtf1 x})") << QByteArray("prex");
        QTest::newRow("letters 0xC0-0xFF belong to control words")
            << QByteArray("{\\rtf1 \\p\xE4r x}") << QByteArray("x");
    }

    void readsTheText()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QByteArray, text);
        expect(rtf, RtfOk, text);
    }

    void errorsDiscardTheOutput_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("code");
        QTest::newRow("group never closed") << QByteArray(R"({\rtf1 abc)") << int(RtfGroupLeftOpen);
        QTest::newRow("one closing brace too many") << QByteArray(R"({\rtf1 abc}})") << int(RtfTooManyClosingBraces);
        QTest::newRow("ends after a backslash") << QByteArray(R"({\rtf1 abc\)") << int(RtfEndInsideControlWord);
        QTest::newRow("ends after a minus") << QByteArray(R"({\rtf1 abc\li-)") << int(RtfEndInsideControlWord);
        QTest::newRow("invalid hex digit") << QByteArray(R"({\rtf1 abc\'zz})") << int(RtfInvalidHexDigit);
        QTest::newRow("hex digit above f") << QByteArray(R"({\rtf1 \'4g})") << int(RtfInvalidHexDigit);
        QTest::newRow("bin beyond the text") << QByteArray(R"({\rtf1 \bin100 abc})") << int(RtfGroupLeftOpen);
    }

    void errorsDiscardTheOutput()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(int, code);
        expect(rtf, code, QByteArray());
        // The next conversion starts from a clean state.
        expect(QByteArray(R"({\rtf1 fine})"), RtfOk, QByteArray("fine"));
    }

    void textWithoutRtfComesBackUnchanged()
    {
        const QByteArray plain("plain {text} with \\par and \x80\r\n");
        expect(plain, RtfNotRichText, plain);
        expect(QByteArray(), RtfNotRichText, QByteArray());
        const RtfToTextResult result = rtfToText(plain.constData(), plain.size());
        QVERIFY(result.usable());
        QCOMPARE(result.text, plain);
    }

    void overLongWordsAndParameters()
    {
        const QByteArray letters(100, 'a');
        expect("{\\rtf1 x\\" + letters + " y}", RtfOk, "xy");
        // Over-long and unknown: after "\*" the group is skipped.
        expect("{\\rtf1 x{\\*\\" + letters + " gone}y}", RtfOk, "xy");
        // A known word followed by more letters is another, unknown word.
        expect("{\\rtf1 a\\par" + QByteArray(40, 'x') + " b}", RtfOk, "ab");
        expect(QByteArray(R"({\rtf1 \fs123456789012345678901234567890 x})"), RtfOk, "x");
        // The count saturates: the binary input runs to the end of the text.
        expect(QByteArray(R"({\rtf1 \bin99999999999999999999 ab})"), RtfGroupLeftOpen, QByteArray());
        expect(QByteArray(R"({\rtf1 \bin00000000003 ab})"), RtfOk, "ab");
    }

    void deepNestingUsesNoRecursion()
    {
        const int depth = 100000;
        const QByteArray deep = "{\\rtf1 " + QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + "}";
        expect(deep, RtfOk, "deep");
        expect("{\\rtf1 " + QByteArray(depth, '{') + "x", RtfGroupLeftOpen, QByteArray());
    }

    void largeInputs()
    {
        QByteArray big("{\\rtf1\\ansi ");
        const QByteArray line("Line with \\b bold\\b0  and \\'e9 text\\par\r\n");
        while (big.size() < 10 * 1024 * 1024) {
            big += line;
        }
        big += '}';
        const RtfToTextResult result = rtfToText(big);
        QCOMPARE(result.code, int(RtfOk));
        QVERIFY(result.text.startsWith("Line with bold and \xE9 text\nLine"));
        QCOMPARE(result.text.count('\n'), big.count("\\par"));

        expect(QByteArray(10 * 1024 * 1024, '{').prepend("{\\rtf1 "), RtfGroupLeftOpen, QByteArray());
    }
};

VAULTBASE_TEST(RtfToTextTest)
#include "RtfToTextTest.moc"

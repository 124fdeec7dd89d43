#include "TestRegistry.h"

#include "richtext/PlainText.h"
#include "richtext/RtfCharsets.h"
#include "richtext/RtfListNumbering.h"
#include "richtext/RtfParser.h"
#include "richtext/RtfToText.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>

namespace {

// The form a Windows rich edit writes, typed by hand.
const QByteArray kRichEditSample =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
    "{\\f1\\fswiss\\fcharset0 Courier New;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
    "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
    "\\pard\\f0\\fs20 Normal \\b bold\\b0  \\i italic\\i0\\par\r\n"
    "\\cf1\\f1 Gr\\'fc\\'dfe \\u8364? \\cf0\\f0 Euro\\par\r\n"
    "\\pard\\qc\\li720\\ri360\\fi-360\\ul centred\\ulnone\\par\r\n"
    "}\r\n";

QString textOf(const RtfParagraph &paragraph)
{
    QString text;
    for (const RtfRun &run : paragraph.runs) {
        text += run.text;
    }
    return text;
}

QString allText(const QByteArray &rtf)
{
    return plainUnicodeTextOf(rtf);
}

} // namespace

class RtfParserTest : public QObject
{
    Q_OBJECT

private slots:
    void richEditSample()
    {
        const RtfContent content = parseRtf(kRichEditSample);
        QCOMPARE(content.fonts.size(), std::size_t(2));
        QCOMPARE(content.font(0)->family, QStringLiteral("Arial"));
        QCOMPARE(content.font(1)->family, QStringLiteral("Courier New"));
        QCOMPARE(content.colors.size(), std::size_t(2));
        QVERIFY(content.colors[0].isAuto);
        QCOMPARE(content.colors[1], (RtfColor{false, 255, 0, 0}));

        QCOMPARE(content.paragraphs.size(), std::size_t(3));
        const RtfParagraph &first = content.paragraphs[0];
        QVERIFY(first.closed);
        QCOMPARE(first.runs.size(), std::size_t(4));
        QCOMPARE(first.runs[0].text, QStringLiteral("Normal "));
        QCOMPARE(first.runs[0].format.halfPoints, 20);
        QCOMPARE(first.runs[1].text, QStringLiteral("bold"));
        QVERIFY(first.runs[1].format.bold);
        QCOMPARE(first.runs[2].text, QStringLiteral(" ")); // the second blank after \b0 is text
        QVERIFY(!first.runs[2].format.bold);
        QCOMPARE(first.runs[3].text, QStringLiteral("italic"));
        QVERIFY(first.runs[3].format.italic);

        const RtfParagraph &second = content.paragraphs[1];
        QCOMPARE(second.runs[0].text, QStringLiteral("Gr\u00FC\u00DFe \u20AC "));
        QCOMPARE(second.runs[0].format.color, 1);
        QCOMPARE(second.runs[0].format.font, 1);
        QCOMPARE(second.runs[1].text, QStringLiteral("Euro"));
        QCOMPARE(second.runs[1].format.color, 0);

        const RtfParagraph &third = content.paragraphs[2];
        QCOMPARE(third.format, (RtfParaFormat{RtfAlignment::Center, 720, 360, -360}));
        QVERIFY(third.runs[0].format.underline);
        QCOMPARE(content.paragraphs[0].format, RtfParaFormat());

        QCOMPARE(plainTextOf(kRichEditSample), QByteArray("Normal bold italic\nGr\xFC\xDF" "e \x80 Euro\ncentred\n"));
    }

    void characterFormats()
    {
        const RtfContent content = parseRtf(
            R"({\rtf1{\colortbl;\red0\green0\blue255;\red255\green255\blue0;})"
            R"(\b\i\ul\strike\fs32\cf1\highlight2 A\b0\i0\ul0\strike0\fs0\cf0\highlight0 B)"
            R"(\b{\i C}D\plain E\cb2 F\uldb G\ulnone H})");
        const auto &runs = content.paragraphs.at(0).runs;
        QCOMPARE(runs.size(), std::size_t(8));
        QCOMPARE(runs[0].format, (RtfCharFormat{-1, 32, 1, 2, true, true, true, true}));
        QCOMPARE(runs[1].format, RtfCharFormat()); // \fs0 is no size: the default
        QCOMPARE(runs[2].text, QStringLiteral("C"));
        QVERIFY(runs[2].format.bold && runs[2].format.italic);
        QCOMPARE(runs[3].text, QStringLiteral("D"));
        QVERIFY(runs[3].format.bold && !runs[3].format.italic); // the group ended the italics
        QCOMPARE(runs[4].format, RtfCharFormat());             // \plain
        QCOMPARE(runs[5].format.background, 2);
        QVERIFY(runs[6].format.underline);
        QVERIFY(!runs[7].format.underline);
    }

    void paragraphsAndBreaks()
    {
        const RtfContent content =
            parseRtf(R"({\rtf1\pard\qr\li100 one\line two\par\pard\qj three\par\qc four})");
        QCOMPARE(content.paragraphs.size(), std::size_t(3));
        QCOMPARE(textOf(content.paragraphs[0]), QStringLiteral("one\u2028two"));
        QCOMPARE(content.paragraphs[0].format, (RtfParaFormat{RtfAlignment::Right, 100, 0, 0}));
        QCOMPARE(content.paragraphs[1].format.alignment, RtfAlignment::Justify);
        QCOMPARE(content.paragraphs[1].format.leftIndent, 0);
        QVERIFY(!content.paragraphs[2].closed);
        QCOMPARE(content.paragraphs[2].format.alignment, RtfAlignment::Center);
        QCOMPARE(allText(R"({\rtf1 one\line two\par three})"), QStringLiteral("one\ntwo\nthree"));
        QCOMPARE(allText("{\\rtf1 a\\\nb\\\r\\page c\\sect d}"), QStringLiteral("a\nb\n\nc\nd"));
        // A document ending with its paragraph mark has no empty paragraph after it.
        QCOMPARE(parseRtf(R"({\rtf1 a\par})").paragraphs.size(), std::size_t(1));
        QCOMPARE(parseRtf(R"({\rtf1 a\par\par})").paragraphs.size(), std::size_t(2));
    }

    void unicodeAndFallbacks_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("euro") << QByteArray(R"({\rtf1 \u8364?x})") << QStringLiteral("\u20ACx");
        QTest::newRow("negative") << QByteArray(R"({\rtf1 \u-200?})") << QStringLiteral("\uFF38");
        QTest::newRow("Symbol code outside any font") << QByteArray(R"({\rtf1 \u-3913?})") << QStringLiteral("\u2022");
        QTest::newRow("private use code of a text font kept")
            << QByteArray(R"({\rtf1{\fonttbl{\f0 FontAwesome;}}\f0\u-4056?})") << QStringLiteral("\uF028");
        QTest::newRow("hex fallback") << QByteArray(R"({\rtf1 \u20320\'3f!})") << QStringLiteral("\u4F60!");
        QTest::newRow("uc2") << QByteArray(R"({\rtf1\uc2 \u20320\'c4\'e3!})") << QStringLiteral("\u4F60!");
        QTest::newRow("uc0") << QByteArray(R"({\rtf1\uc0 \u20320 !})") << QStringLiteral("\u4F60!");
        QTest::newRow("uc in a group") << QByteArray(R"({\rtf1{\uc2 \u20320??}\u20320?!})")
                                       << QStringLiteral("\u4F60\u4F60!");
        QTest::newRow("fallback ends with the group") << QByteArray(R"({\rtf1\uc3{\u20320?}ab})")
                                                      << QStringLiteral("\u4F60ab");
        QTest::newRow("a control word counts as one") << QByteArray(R"({\rtf1\uc2 \u20320\b ?x})")
                                                      << QStringLiteral("\u4F60x");
        QTest::newRow("surrogate pair") << QByteArray(R"({\rtf1 \u-10179?\u-8704?})")
                                        << QStringLiteral("\U0001F600");
        QTest::newRow("out of range keeps the fallback") << QByteArray(R"({\rtf1 \u70000?x\u-40000?})")
                                                         << QStringLiteral("?x?");
        QTest::newRow("without a number") << QByteArray(R"({\rtf1 \u ?})") << QStringLiteral("?");
        QTest::newRow("huge uc is bounded") << QByteArray(R"({\rtf1\uc999999 \u65?01234567890123456789})")
                                            << QStringLiteral("A56789");
        QTest::newRow("special characters")
            << QByteArray(R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~\_\-x})")
            << QStringLiteral("\u2014\u2013\u2022\u2018\u2019\u201C\u201D\u00A0\u2011x");
    }

    void unicodeAndFallbacks()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QCOMPARE(allText(rtf), text);
    }

    void destinationsAndText_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("bullet text kept")
            << QByteArray(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}})"
                          R"({\pntext\f1\'B7\tab}{\*\pn\pnlvlblt\pnf1{\pntxtb\'B7}}Item\par{\pntext\f1\'B7\tab}Two\par})")
            << QStringLiteral("\u2022\tItem\n\u2022\tTwo\n");
        QTest::newRow("list text kept") << QByteArray(R"({\rtf1{\listtext 1.\tab}First\par})")
                                        << QStringLiteral("1.\tFirst\n");
        QTest::newRow("table row")
            << QByteArray(R"({\rtf1\trowd\cellx1000\cellx2000\cellx3000\pard\intbl A\cell\cell C\cell\row after})")
            << QStringLiteral("A\t\tC\nafter");
        QTest::newRow("picture and object skipped")
            << QByteArray(R"({\rtf1 a{\pict\pngblip 89504e47}b{\object\objemb{\*\objdata 0102}{\result r}}c})")
            << QStringLiteral("abc");
        QTest::newRow("field result kept, instruction skipped")
            << QByteArray(R"({\rtf1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})") << QStringLiteral("link");
        QTest::newRow("unstarred known destinations skipped")
            << QByteArray(R"({\rtf1{\info{\title t}}{\stylesheet{\s0 Normal;}}{\header h}{\footnote f}body})")
            << QStringLiteral("body");
        QTest::newRow("starred destinations skipped")
            << QByteArray(R"({\rtf1{\*\generator Riched20;}{\*\listtable{\list x}}text})") << QStringLiteral("text");
        QTest::newRow("binary data in a picture skipped")
            << QByteArray("{\\rtf1 a{\\pict\\bin2 }}}b}") << QStringLiteral("ab");
        QTest::newRow("binary data in the text kept") << QByteArray(R"({\rtf1 \bin3 abc})") << QStringLiteral("abc");
        QTest::newRow("escaped braces") << QByteArray(R"({\rtf1 \{\}\\})") << QStringLiteral("{}\\");
        QTest::newRow("text after the document ignored") << QByteArray(R"({\rtf1 in} out)") << QStringLiteral("in");
        QTest::newRow("blanks before the document ignored") << QByteArray(" \t\r\n{\\rtf1 in}") << QStringLiteral("in");
    }

    void destinationsAndText()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QCOMPARE(allText(rtf), text);
    }

    void codePagesOfFonts()
    {
        // Charset 0 is Windows-1252 whatever the document says.
        QCOMPARE(allText(R"({\rtf1\ansicpg1251{\fonttbl{\f0\fcharset0 A;}}\f0 \'80\'e9})"),
                 QStringLiteral("\u20AC\u00E9"));
        if (!QStringDecoder("windows-1251").isValid() || !QStringDecoder("Shift_JIS").isValid()) {
            QSKIP("this Qt has no decoders for other code pages");
        }
        QCOMPARE(allText(R"({\rtf1{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset204 B;}}\f1 \'c0\'e1\f0 \'c0})"),
                 QStringLiteral("\u0410\u0431\u00C0"));
        QCOMPARE(allText(R"({\rtf1{\fonttbl{\f0\fcharset128 MS Mincho;}}\f0 \'82\'a0x})"), QStringLiteral("\u3042x"));
        // The default character set takes the document's code page.
        QCOMPARE(allText(R"({\rtf1\ansicpg1251{\fonttbl{\f0\fcharset1 A;}}\f0 \'c0})"), QStringLiteral("\u0410"));
        // Font names are decoded in their own character set.
        const RtfContent content = parseRtf(R"({\rtf1{\fonttbl{\f0\fcharset204 \'c0rial;}}})");
        QCOMPARE(content.font(0)->family, QStringLiteral("\u0410rial"));
        QCOMPARE(content.font(0)->charset, 204);
    }

    // Each sample is a document as a writer stores it; its .txt beside it holds the text
    // the document shows, typed by hand.
    void samples_data()
    {
        QTest::addColumn<QString>("name");
        const QDir folder(vaultbase::test::dataPath(QStringLiteral("richtext")));
        const QStringList names = folder.entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
        QVERIFY(!names.isEmpty());
        for (const QString &name : names) {
            QTest::newRow(qPrintable(name)) << folder.filePath(name);
        }
    }

    void samples()
    {
        QFETCH(QString, name);
        if (!QStringDecoder("windows-1251").isValid()) {
            QSKIP("this Qt has no decoders for other code pages");
        }
        QFile rtf(name);
        QFile expected(name.chopped(4) + QStringLiteral(".txt"));
        QVERIFY(rtf.open(QIODevice::ReadOnly) && expected.open(QIODevice::ReadOnly));
        QCOMPARE(plainUnicodeTextOf(rtf.readAll()), QString::fromUtf8(expected.readAll()));
    }

    // Code pages ICU decodes itself, and those read in the nearest Windows code page.
    void decoders_data()
    {
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("DOS Latin") << 437 << QByteArray("\x80\x9c") << QStringLiteral("\u00C7\u00A3");
        QTest::newRow("DOS Cyrillic") << 866 << QByteArray("\x8c\xa8") << QStringLiteral("\u041C\u0438");
        QTest::newRow("KOI8-R") << 20866 << QByteArray("\xed\xc9\xd2") << QStringLiteral("\u041C\u0438\u0440");
        QTest::newRow("Mac Turkish") << 10081 << QByteArray("I\xdf\xddk") << QStringLiteral("I\u015F\u0131k");
        QTest::newRow("Mac Hebrew as Windows-1255") << 10005 << QByteArray("\xf9\xec\xe5\xed")
                                                    << QStringLiteral("\u05E9\u05DC\u05D5\u05DD");
        QTest::newRow("Mac Arabic as Windows-1256") << 10004 << QByteArray("\xe3\xd1\xcd\xc8\xc7")
                                                    << QStringLiteral("\u0645\u0631\u062D\u0628\u0627");
        QTest::newRow("Mac Thai as Windows-874") << 10021 << QByteArray("\xa1") << QStringLiteral("\u0E01");
        QTest::newRow("Johab has none: Windows-1252") << 1361 << QByteArray("\x80") << QStringLiteral("\u20AC");
    }

    void decoders()
    {
        QFETCH(int, codePage);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        if (!QStringDecoder("windows-1251").isValid()) {
            QSKIP("this Qt has no decoders for other code pages");
        }
        RtfTextDecoder decoder;
        QString decoded;
        decoder.decode(bytes, {codePage, RtfSymbolFont::None}, decoded);
        QCOMPARE(decoded, text);
    }

    void listNumbers_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("text");
        QTest::newRow("decimal") << 12 << int(RtfListStyle::Decimal) << QStringLiteral("12");
        QTest::newRow("letter") << 3 << int(RtfListStyle::UpperLetter) << QStringLiteral("C");
        QTest::newRow("letters after z") << 28 << int(RtfListStyle::LowerLetter) << QStringLiteral("bb");
        QTest::newRow("too many letters") << 26 * 26 + 1 << int(RtfListStyle::UpperLetter) << QStringLiteral("677");
        QTest::newRow("roman") << 1994 << int(RtfListStyle::UpperRoman) << QStringLiteral("MCMXCIV");
        QTest::newRow("small roman") << 49 << int(RtfListStyle::LowerRoman) << QStringLiteral("xlix");
        QTest::newRow("beyond roman") << 4000 << int(RtfListStyle::UpperRoman) << QStringLiteral("4000");
        QTest::newRow("no letter for 0") << 0 << int(RtfListStyle::UpperLetter) << QStringLiteral("0");
    }

    void listNumbers()
    {
        QFETCH(int, number);
        QFETCH(int, style);
        QFETCH(QString, text);
        QCOMPARE(rtfListNumberText(number, RtfListStyle(style)), text);
    }

    void fontAndColourTables()
    {
        const RtfContent content = parseRtf(
            R"({\rtf1\deff1{\fonttbl\f0\froman Times;\f1\fswiss\fcharset238 Arial CE{\*\falt Arial};)"
            R"({\f2\fnil Bad{\font};}{\f3 \u1046?x;}}{\colortbl\red1\green2\blue3;;\red300\green-5;}x})");
        QCOMPARE(content.defaultFont, 1);
        QCOMPARE(content.font(0)->family, QStringLiteral("Times"));
        QCOMPARE(content.font(1)->family, QStringLiteral("Arial CE"));
        QCOMPARE(content.font(1)->charset, 238);
        QCOMPARE(content.font(2)->family, QStringLiteral("Bad"));
        QCOMPARE(content.font(3)->family, QStringLiteral("\u0416x"));
        QCOMPARE(content.colors.size(), std::size_t(3));
        QCOMPARE(content.colors[0], (RtfColor{false, 1, 2, 3}));
        QVERIFY(content.colors[1].isAuto);
        QCOMPARE(content.colors[2], (RtfColor{false, 255, 0, 0}));
        QVERIFY(content.color(1) == nullptr);
        QVERIFY(content.color(7) == nullptr);
        QCOMPARE(content.paragraphs.at(0).runs.at(0).format.font, -1); // the default font
    }

    void plainTextIsNotParsed()
    {
        QVERIFY(looksLikeRtf(" \r\n{\\rtf1 x}"));
        QVERIFY(!looksLikeRtf("x{\\rtf1 x}"));
        QVERIFY(!looksLikeRtf(""));
        const QByteArray plain("Line\r\n{\\rtf1 not here}\x80");
        QCOMPARE(plainTextOf(plain), plain);
        QCOMPARE(plainUnicodeTextOf(plain), QStringLiteral("Line\r\n{\\rtf1 not here}\u20AC"));
        // Characters the code page lacks become one '?' each.
        QCOMPARE(plainTextOf(R"({\rtf1 \u1046?\u-10179?\u-8704?\u8364?})"), QByteArray("??\x80"));
    }

    // On documents rtfToText understands, the plain text is the same.
    void agreesWithRtfToText_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::newRow("rich edit") << QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fnil"
                                                 "\\fcharset0 Arial;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
                                                 "\\viewkind4\\uc1\\pard\\f0\\fs20 Hello \\b World\\b0\\par\r\n"
                                                 "\\cf1 caf\\'e9\\cf0\\tab x\\par\r\n}\r\n");
        QTest::newRow("hello world") << QByteArray(R"({\rtf1{\fonttbl{\f0 Arial;}}\pard Hello\par World\par})");
        QTest::newRow("no final par") << QByteArray(R"({\rtf1 one\par two})");
        QTest::newRow("empty paragraphs") << QByteArray(R"({\rtf1 \par\par x\par\par})");
        QTest::newRow("groups") << QByteArray(R"({\rtf1 a{\b b{\i c}}d{\*\x y}{\info{\title t}}e})");
        QTest::newRow("hex and escapes") << QByteArray(R"({\rtf1 \'41\'e4\{\}\\ z})");
        QTest::newRow("binary") << QByteArray(R"({\rtf1 \bin3 abc!})");
        QTest::newRow("over-long word") << "{\\rtf1 a\\" + QByteArray(60, 'q') + " b}";
        QTest::newRow("empty") << QByteArray(R"({\rtf1})");
        QTest::newRow("deep") << "{\\rtf1 " + QByteArray(5000, '{') + "x" + QByteArray(5000, '}') + "}";
    }

    void agreesWithRtfToText()
    {
        QFETCH(QByteArray, rtf);
        const RtfToTextResult reference = rtfToText(rtf);
        QCOMPARE(reference.code, int(RtfOk));
        QCOMPARE(plainTextOf(rtf), reference.text);
    }

    // Documents built at random from pieces both readers know, with balanced groups.
    void agreesWithRtfToTextOnGeneratedDocuments()
    {
        static const char *const pieces[] = {
            "abc", " ", "x;", "\\b ", "\\b0 ", "\\i", "\\par ", "\\par", "\\tab ", "\\'e9", "\\'41",
            "\\{", "\\}", "\\\\", "\\pard\\qc ", "\\f0 ", "\\fs20 ", "\\plain ", "\\ul ", "\r\n",
            "\\bin2 {}", "\\li-360 ", "\\unknownword ", "\\fonttbl ", "\\info ", "\\*\\x ",
            "\\colortbl ", "\\red255;",
        };
        QRandomGenerator random(20240611);
        for (int i = 0; i < 3000; ++i) {
            QByteArray rtf("{\\rtf1 ");
            int depth = 1;
            const int length = random.bounded(1, 40);
            for (int p = 0; p < length; ++p) {
                const int choice = random.bounded(int(std::size(pieces)) + 4);
                if (choice == int(std::size(pieces))) {
                    rtf += '{';
                    ++depth;
                } else if (choice > int(std::size(pieces)) && depth > 1) {
                    rtf += '}';
                    --depth;
                } else if (choice < int(std::size(pieces))) {
                    rtf += pieces[choice];
                }
            }
            rtf += QByteArray(depth, '}');
            const RtfToTextResult reference = rtfToText(rtf);
            QCOMPARE(reference.code, int(RtfOk));
            QVERIFY2(plainTextOf(rtf) == reference.text, rtf.constData());
        }
    }

    // Random bytes rich in RTF syntax: every reader ends cleanly.
    void randomBytesReadCleanly()
    {
        static const char alphabet[] = "{}\\\\\\'*abu0123456789- \r\n\xe9;";
        QRandomGenerator random(7);
        for (int i = 0; i < 3000; ++i) {
            QByteArray rtf("{\\rtf");
            const int length = random.bounded(0, 200);
            for (int p = 0; p < length; ++p) {
                rtf += alphabet[random.bounded(int(sizeof(alphabet)) - 1)];
            }
            const RtfToTextResult reference = rtfToText(rtf);
            QVERIFY(reference.code >= RtfOk && reference.code <= RtfNotRichText);
            QVERIFY(reference.usable() || reference.text.isEmpty());
            const RtfContent content = parseRtf(rtf);
            for (const RtfParagraph &paragraph : content.paragraphs) {
                for (const RtfRun &run : paragraph.runs) {
                    QVERIFY(!run.text.isEmpty());
                }
            }
        }
    }

    void knownDifferencesFromRtfToText()
    {
        const QByteArray rtf(R"({\rtf1 a\line b\u8364?\ldblquote\row})");
        QCOMPARE(rtfToText(rtf).text, QByteArray("ab?\""));
        QCOMPARE(plainTextOf(rtf), QByteArray("a\nb\x80\x93\n"));
    }

    void hostileInput()
    {
        // Every cut of a real document reads cleanly, to the text read so far.
        for (qsizetype cut = 0; cut <= kRichEditSample.size(); ++cut) {
            const QByteArray part = kRichEditSample.first(cut);
            QString text = plainUnicodeTextOf(part);
            if (looksLikeRtf(part)) {
                text.chop(1); // a cut inside \'hh or \uN may change the last character
                QVERIFY2(QStringLiteral("Normal bold italic\nGr\u00FC\u00DFe \u20AC Euro\ncentred\n").startsWith(text),
                         qPrintable(text));
            }
        }
        QCOMPARE(allText(R"({\rtf1 open{\b never closed)"), QStringLiteral("opennever closed"));
        QCOMPARE(allText(R"({\rtf1 a}}}b)"), QStringLiteral("a"));
        QCOMPARE(allText(R"({\rtf1 a\bin999999 bc)"), QStringLiteral("abc"));
        QCOMPARE(allText(R"({\rtf1 a\bin-5 b})"), QStringLiteral("ab"));
        QCOMPARE(allText(R"({\rtf1 a\'4)"), QStringLiteral("a4"));
        QCOMPARE(allText(R"({\rtf1 a\'zz})"), QStringLiteral("azz"));
        QCOMPARE(allText(R"({\rtf1 a\)"), QStringLiteral("a"));
        QCOMPARE(allText(R"({\rtf1 \fs99999999999999 \li-99999999999 \cf99999 \f-7 \'41})"), QStringLiteral("A"));
        QCOMPARE(parseRtf(R"({\rtf1 \li-99999999999 x})").paragraphs.at(0).format.leftIndent, -31680);
    }

    void deepNesting()
    {
        const int depth = 100000;
        QCOMPARE(allText("{\\rtf1 " + QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + "after}"),
                 QStringLiteral("deepafter"));
        // Deeper than the reader follows: that group is skipped, the rest is read.
        const int tooDeep = kRtfMaxDepth + 10;
        QCOMPARE(allText("{\\rtf1 a" + QByteArray(tooDeep, '{') + "deep" + QByteArray(tooDeep, '}') + "b}"),
                 QStringLiteral("ab"));
        QCOMPARE(allText("{\\rtf1 a" + QByteArray(10 * 1024 * 1024, '{')), QStringLiteral("a"));
    }

    void largeDocument()
    {
        QByteArray big("{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\\f0 ");
        const QByteArray line("Line with \\b bold\\b0 , \\u8364? and \\'e9 text\\par\r\n");
        int lines = 0;
        while (big.size() < 10 * 1024 * 1024) {
            big += line;
            ++lines;
        }
        big += '}';
        const RtfContent content = parseRtf(big);
        QCOMPARE(content.paragraphs.size(), std::size_t(lines));
        QCOMPARE(textOf(content.paragraphs.back()), QStringLiteral("Line with bold, \u20AC and \u00E9 text"));
    }
};

VAULTBASE_TEST(RtfParserTest)
#include "RtfParserTest.moc"

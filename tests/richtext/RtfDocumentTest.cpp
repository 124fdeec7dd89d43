#include "TestRegistry.h"

#include "richtext/PlainText.h"
#include "richtext/RtfDocumentReader.h"
#include "richtext/RtfDocumentWriter.h"
#include "richtext/RtfTextFormat.h"
#include "richtext/RtfToText.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace {

const QByteArray kRichEditSample =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
    "{\\f1\\fnil\\fcharset204 Times New Roman CYR;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"
    "\\viewkind4\\uc1\\pard\\f0\\fs20 Plain \\b bold\\b0  \\i italic\\i0  \\ul under\\ulnone  \\strike gone\\strike0\\par\r\n"
    "\\pard\\qc\\cf1\\fs28 K\\'f6ln \\u8364? 5\\cf0\\fs20\\par\r\n"
    "\\pard\\li720\\ri360\\fi-360\\highlight2 marked\\highlight0\\tab tab\\line next\\par\r\n"
    "\\pard\\qr\\f1 \\u1046?\\'c0\\f0\\par\r\n"
    "}\r\n";

struct Fragment {
    QString text;
    QTextCharFormat format;
};

QList<Fragment> fragmentsOf(const QTextBlock &block)
{
    QList<Fragment> fragments;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        fragments.append({it.fragment().text(), it.fragment().charFormat()});
    }
    return fragments;
}

QString familyOf(const QTextCharFormat &format)
{
    return format.property(QTextFormat::FontFamilies).toStringList().value(0);
}

// What a user sees of a document: text, and per fragment the formats the RTF keeps.
QStringList describe(const QTextDocument &document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat bf = block.blockFormat();
        lines << QStringLiteral("block align=%1 margins=%2,%3,%4")
                     .arg(int(bf.alignment() & Qt::AlignHorizontal_Mask))
                     .arg(bf.leftMargin())
                     .arg(bf.rightMargin())
                     .arg(bf.textIndent());
        for (const Fragment &f : fragmentsOf(block)) {
            const QTextCharFormat &c = f.format;
            lines << QStringLiteral("  [%1] %2 %3pt w%4 i%5 u%6 s%7 fg%8 bg%9 cs%10")
                         .arg(f.text, familyOf(c))
                         .arg(c.fontPointSize())
                         .arg(c.fontWeight())
                         .arg(c.fontItalic())
                         .arg(c.fontUnderline())
                         .arg(c.fontStrikeOut())
                         .arg(c.hasProperty(QTextFormat::ForegroundBrush) ? c.foreground().color().name() : QString())
                         .arg(c.hasProperty(QTextFormat::BackgroundBrush) ? c.background().color().name() : QString())
                         .arg(c.intProperty(RtfTextFormat::CharsetProperty));
        }
    }
    return lines;
}

// A document as a user might type it in the editor.
void typeDocument(QTextDocument &document)
{
    QTextCursor cursor(&document);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("DejaVu Sans")});
    plain.setFontPointSize(11);
    cursor.insertText(QStringLiteral("Braces {x} and \\ backslash, caf\u00E9, \u20AC"), plain);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(0x12, 0x34, 0x56));
    cursor.insertText(QStringLiteral(" bold blue"), bold);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setLeftMargin(24);
    cursor.insertBlock(centred);
    QTextCharFormat other = plain;
    other.setFontFamilies({QStringLiteral("Liberation Mono")});
    other.setFontItalic(true);
    other.setBackground(QColor(Qt::yellow));
    cursor.insertText(QStringLiteral("\u0416\u0418\u0412 \U0001F600\ttab\u2028second line 123"), other);
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertBlock(QTextBlockFormat()); // an empty paragraph in the middle
    cursor.insertText(QStringLiteral("last"), plain);
    cursor.insertBlock(QTextBlockFormat()); // and an empty one at the end
}

} // namespace

class RtfDocumentTest : public QObject
{
    Q_OBJECT

private slots:
    void readsRichEditSample()
    {
        QTextDocument document;
        readRtfDocument(kRichEditSample, document);
        QCOMPARE(document.blockCount(), 4);
        QCOMPARE(document.toPlainText(),
                 QStringLiteral("Plain bold italic under gone\nK\u00F6ln \u20AC 5\nmarked\ttab\nnext\n\u0416\u0410"));

        const QList<Fragment> first = fragmentsOf(document.begin());
        QCOMPARE(first.size(), 8);
        QCOMPARE(first[0].text, QStringLiteral("Plain "));
        QCOMPARE(familyOf(first[0].format), QStringLiteral("Arial"));
        QCOMPARE(first[0].format.fontPointSize(), 10.0);
        QCOMPARE(first[0].format.fontWeight(), int(QFont::Normal));
        QCOMPARE(first[1].text, QStringLiteral("bold"));
        QCOMPARE(first[1].format.fontWeight(), int(QFont::Bold));
        QVERIFY(first[3].format.fontItalic());
        QVERIFY(first[5].format.fontUnderline());
        QVERIFY(first[7].format.fontStrikeOut());
        QVERIFY(!first[6].format.fontStrikeOut());

        const QTextBlock second = document.begin().next();
        QCOMPARE(second.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        const QList<Fragment> secondFragments = fragmentsOf(second);
        QCOMPARE(secondFragments[0].format.foreground().color(), QColor(255, 0, 0));
        QCOMPARE(secondFragments[0].format.fontPointSize(), 14.0);

        const QTextBlock third = second.next();
        QCOMPARE(third.blockFormat().leftMargin(), 48.0);
        QCOMPARE(third.blockFormat().rightMargin(), 24.0);
        QCOMPARE(third.blockFormat().textIndent(), -24.0);
        QCOMPARE(fragmentsOf(third)[0].format.background().color(), QColor(0, 128, 0));
        QVERIFY(!fragmentsOf(third)[1].format.hasProperty(QTextFormat::BackgroundBrush));

        const QTextBlock fourth = third.next();
        QCOMPARE(fourth.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        const QTextCharFormat cyrillic = fragmentsOf(fourth)[0].format;
        QCOMPARE(familyOf(cyrillic), QStringLiteral("Times New Roman CYR"));
        QCOMPARE(cyrillic.intProperty(RtfTextFormat::CharsetProperty), 204);
    }

    void writesRichEditForm()
    {
        QTextDocument document;
        readRtfDocument(kRichEditSample, document);
        const QByteArray rtf = writeRtfDocument(document);
        QVERIFY2(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                                "{\\f1\\fnil\\fcharset204 Times New Roman CYR;}}\r\n"
                                "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"
                                "\\viewkind4\\uc1\\pard\\f0\\fs20 Plain \\b bold\\b0  \\i italic\\i0 "),
                 rtf.constData());
        QVERIFY(rtf.contains("\\strike gone\\par\r\n\\pard\\qc\\fs28\\cf1\\strike0 K\\'f6ln \\'80 5\\par\r\n"));
        QVERIFY(rtf.contains("\\pard\\li720\\ri360\\fi-360\\fs20\\cf0\\highlight2 marked\\highlight0\\tab tab\\line next\\par"));
        // Outside the ANSI character set every non-ASCII character goes as \uN.
        QVERIFY(rtf.contains("\\pard\\qr\\f1\\u1046?\\u1040?\\par\r\n}\r\n"));
        QVERIFY(rtf.endsWith("}\r\n"));
    }

    void roundTripKeepsTextAndFormats()
    {
        QTextDocument original;
        readRtfDocument(kRichEditSample, original);
        const QByteArray first = writeRtfDocument(original);
        QTextDocument again;
        readRtfDocument(first, again);
        QCOMPARE(describe(again), describe(original));
        QCOMPARE(writeRtfDocument(again), first);
    }

    void typedDocumentIsStable()
    {
        QTextDocument typed;
        typeDocument(typed);
        const QByteArray first = writeRtfDocument(typed);
        QCOMPARE(writeRtfDocument(typed), first); // saving twice without edits: same bytes

        QTextDocument read;
        readRtfDocument(first, read);
        QCOMPARE(read.toPlainText(), typed.toPlainText());
        QCOMPARE(read.blockCount(), typed.blockCount());
        QCOMPARE(describe(read), describe(typed));
        QCOMPARE(writeRtfDocument(read), first);

        QVERIFY(first.contains("Braces \\{x\\} and \\\\ backslash, caf\\'e9, \\'80"));
        QVERIFY(first.contains("\\u-10179?\\u-8704?"));
        QVERIFY(first.contains("\\u1046?"));
        QVERIFY(first.contains("\\line second line 123"));
        QVERIFY(first.contains("{\\colortbl ;\\red18\\green52\\blue86;\\red255\\green255\\blue0;}"));
    }

    void emptyAndPlainDocuments()
    {
        QTextDocument empty;
        const QByteArray rtf = writeRtfDocument(empty);
        QVERIFY(!rtf.contains("\\par"));
        QVERIFY(!rtf.contains("colortbl"));
        QTextDocument read;
        read.setPlainText(QStringLiteral("old text"));
        readRtfDocument(rtf, read);
        QVERIFY(read.isEmpty());
        QCOMPARE(writeRtfDocument(read), rtf);

        // Text that is not RTF is shown as plain text.
        readRtfDocument(QByteArray("one\r\ntwo\rthree\n\x80{\\b x}"), read);
        QCOMPARE(read.blockCount(), 4);
        QCOMPARE(read.toPlainText(), QStringLiteral("one\ntwo\nthree\n\u20AC{\\b x}"));
        QVERIFY(!read.isModified());
    }

    void listsAndObjectsBecomeText()
    {
        QTextDocument document;
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("intro"));
        cursor.insertList(QTextListFormat::ListDecimal);
        cursor.insertText(QStringLiteral("first"));
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("second"));
        cursor.insertText(QString(QChar::ObjectReplacementCharacter));
        const QByteArray rtf = writeRtfDocument(document);
        QCOMPARE(plainTextOf(rtf), QByteArray("intro\n1.\tfirst\n2.\tsecond\n"));
        QTextDocument read;
        readRtfDocument(rtf, read);
        QCOMPARE(writeRtfDocument(read), rtf);
    }

    // The database window shows stored rich text through rtfToText when "RichText" is
    // off: what this writer stores must read there as the editor showed it.
    void writtenTextReadsInRtfToText()
    {
        QTextDocument document;
        document.setPlainText(QStringLiteral("Hello {world}\n\ttabbed caf\u00E9\n"));
        const QByteArray rtf = writeRtfDocument(document);
        const RtfToTextResult result = rtfToText(rtf);
        QCOMPARE(result.code, int(RtfOk));
        QCOMPARE(result.text, QByteArray("Hello {world}\n\ttabbed caf\xE9\n\n"));
        QCOMPARE(plainTextOf(rtf), result.text);
    }

    void hostileInputGivesADocument()
    {
        QTextDocument document;
        const QList<QByteArray> inputs = {
            "{\\rtf1 open{\\b bold",
            "{\\rtf1 a}}}}",
            "{\\rtf1 \\bin99999999 xyz",
            "{\\rtf1 \\u99999999? \\u-99999? \\fs-4 \\fs999999 x\\'0d\\'0ay\\u10?z}",
            "{\\rtf1 " + QByteArray(100000, '{') + "deep" + QByteArray(100000, '}') + "}",
            "{\\rtf1 " + QByteArray(300000, '{'),
        };
        for (const QByteArray &input : inputs) {
            readRtfDocument(input, document);
            const QByteArray rtf = writeRtfDocument(document);
            QTextDocument again;
            readRtfDocument(rtf, again);
            QCOMPARE(again.toPlainText(), document.toPlainText());
        }
        readRtfDocument(inputs[3], document);
        QCOMPARE(document.blockCount(), 1); // line ends that came as characters stay in the line
        QCOMPARE(document.toPlainText(), QStringLiteral("? ? x\n\ny\nz"));
        QCOMPARE(fragmentsOf(document.begin())[1].format.fontPointSize(), 1638.0);
    }

    // Tables of many fonts and colours: each run is looked up, not searched for.
    void manyFontsAndColours()
    {
        QTextDocument document;
        QTextCursor cursor(&document);
        cursor.beginEditBlock();
        const int count = 60000;
        for (int i = 0; i < count; ++i) {
            QTextCharFormat format;
            format.setForeground(QColor(QRgb(i * 7919)));
            format.setFontFamilies({QStringLiteral("Font %1").arg(i % 5000)});
            cursor.insertText(QStringLiteral("x"), format);
        }
        cursor.endEditBlock();
        const QByteArray rtf = writeRtfDocument(document);
        QCOMPARE(rtf.count("\\red"), qsizetype(count));
        QCOMPARE(rtf.count("\\fcharset0 Font "), qsizetype(5000));
        QTextDocument again;
        readRtfDocument(rtf, again);
        QCOMPARE(writeRtfDocument(again), rtf);
    }

    void largeDocument()
    {
        QByteArray big("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"
                       "{\\colortbl ;\\red255\\green0\\blue0;}\\viewkind4\\uc1\\pard\\f0\\fs20 ");
        const QByteArray line("Some \\b bold\\b0 , \\cf1 red\\cf0  and caf\\'e9 \\u8364? text\\par\r\n");
        int lines = 0;
        while (big.size() < 2 * 1024 * 1024) {
            big += line;
            ++lines;
        }
        big += '}';
        QTextDocument document;
        readRtfDocument(big, document);
        QCOMPARE(document.blockCount(), lines);
        const QByteArray written = writeRtfDocument(document);
        QTextDocument again;
        readRtfDocument(written, again);
        QCOMPARE(again.toPlainText(), document.toPlainText());
        QCOMPARE(writeRtfDocument(again), written);
    }
};

VAULTBASE_TEST(RtfDocumentTest)
#include "RtfDocumentTest.moc"

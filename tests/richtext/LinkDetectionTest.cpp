#include "TestRegistry.h"

#include "richtext/LinkDetection.h"

#include <QTest>

class LinkDetectionTest : public QObject
{
    Q_OBJECT

private slots:
    void findsLinks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("links");
        const auto row = [](const char *name, const QString &text, const QStringList &links) {
            QTest::newRow(name) << text << links;
        };
        row("every kind in mixed text",
            QStringLiteral("Web http://a.org, https://b.org/x?y=1&z=2#f ftp://files.c.net/pub "
                           "file:///home/me/x.txt mailto:me@d.org and www.e.com/path."),
            {QStringLiteral("http://a.org"), QStringLiteral("https://b.org/x?y=1&z=2#f"),
             QStringLiteral("ftp://files.c.net/pub"), QStringLiteral("file:///home/me/x.txt"),
             QStringLiteral("mailto:me@d.org"), QStringLiteral("www.e.com/path")});
        row("letter case", QStringLiteral("HTTP://A.ORG WWW.B.COM"),
            {QStringLiteral("HTTP://A.ORG"), QStringLiteral("WWW.B.COM")});
        row("trailing punctuation", QStringLiteral("see http://a.org/x.;:!? or http://b.org,"),
            {QStringLiteral("http://a.org/x"), QStringLiteral("http://b.org")});
        row("balanced parentheses kept",
            QStringLiteral("(see http://w.org/A_(b)) and [http://x.org/[1]]"),
            {QStringLiteral("http://w.org/A_(b)"), QStringLiteral("http://x.org/[1]")});
        row("unbalanced closer dropped", QStringLiteral("(http://a.org/x)"), {QStringLiteral("http://a.org/x")});
        row("quotes and angle brackets end a link",
            QStringLiteral("\"http://a.org\" <http://b.org> 'www.c.org' \u201Chttp://d.org\u201D"),
            {QStringLiteral("http://a.org"), QStringLiteral("http://b.org"), QStringLiteral("www.c.org"),
             QStringLiteral("http://d.org")});
        row("blanks and line ends", QStringLiteral("http://a.org\thttp://b.org\u2028http://c.org\u00A0x"),
            {QStringLiteral("http://a.org"), QStringLiteral("http://b.org"), QStringLiteral("http://c.org")});
        row("only at the start of a word", QStringLiteral("xhttp://a.org awww.b.org me@www.c.org"), {});
        row("a prefix alone is no link", QStringLiteral("http:// www. mailto: www.. http://..."), {});
        row("inside a longer link", QStringLiteral("http://www.a.org/www.b"), {QStringLiteral("http://www.a.org/www.b")});
        row("windows file path", QStringLiteral("file://C:\\Users\\me\\a.txt"),
            {QStringLiteral("file://C:\\Users\\me\\a.txt")});
        row("at the very end", QStringLiteral("go www.a.org"), {QStringLiteral("www.a.org")});
    }

    void findsLinks()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, links);
        QStringList found;
        for (const LinkRange &range : findLinks(text)) {
            found << text.mid(range.start, range.length);
        }
        QCOMPARE(found, links);
    }

    void linkUnderAClick()
    {
        const QString text = QStringLiteral("Mail mailto:a@b.org or see www.c.org.");
        QVERIFY(!findLinkAt(text, 0).has_value());
        QVERIFY(!findLinkAt(text, 4).has_value());
        const auto mail = findLinkAt(text, 5);
        QVERIFY(mail.has_value());
        QCOMPARE(*mail, (LinkRange{5, 14}));
        QCOMPARE(findLinkAt(text, 18), mail);
        QVERIFY(!findLinkAt(text, 19).has_value());
        const auto web = findLinkAt(text, 30);
        QVERIFY(web.has_value());
        QCOMPARE(linkUrl(text, *web), QStringLiteral("http://www.c.org"));
        QCOMPARE(linkUrl(text, *mail), QStringLiteral("mailto:a@b.org"));
        QVERIFY(!findLinkAt(text, text.size() - 1).has_value()); // the full stop
        QVERIFY(!findLinkAt(text, text.size()).has_value());
        QCOMPARE(linkUrl(text, LinkRange{30, 999}), QString());
    }

    void urlsToOpen()
    {
        QCOMPARE(linkUrl(u"www.a.org/x"), QStringLiteral("http://www.a.org/x"));
        QCOMPARE(linkUrl(u"WWW.A.ORG"), QStringLiteral("http://WWW.A.ORG"));
        QCOMPARE(linkUrl(u"https://a.org"), QStringLiteral("https://a.org"));
        QCOMPARE(linkUrl(u"file:///tmp/x"), QStringLiteral("file:///tmp/x"));
    }

    void longTextsStayLinear()
    {
        // Prefixes whose bodies trim away and one long link: each character is looked at
        // a bounded number of times (a quadratic scan would not finish here).
        QString text;
        for (int i = 0; i < 100000; ++i) {
            text += QStringLiteral("http://... ");
        }
        QVERIFY(findLinks(text).isEmpty());
        const QString longLink = QStringLiteral("http://a.org/") + QString(2000000, QLatin1Char(')'));
        const QList<LinkRange> links = findLinks(longLink);
        QCOMPARE(links.size(), 1);
        QCOMPARE(links[0].length, qsizetype(13));
    }
};

VAULTBASE_TEST(LinkDetectionTest)
#include "LinkDetectionTest.moc"

#include "ModalAnswers.h"
#include "TestRegistry.h"

#include "shell/LanguageStore.h"
#include "widgets/MessageBox.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {

const QByteArray kGerman = "FrmMain.m_aMYes=\"Ja\"\r\n"
                           "FrmMain.m_aMNo=\"Nein\"\r\n"
                           "FrmMain.m_aMCancel=\"Abbrechen\"\r\n"
                           "FrmMain.m_aMYesToAll=\"Ja, alle\"\r\n"
                           "FrmMain.m_aMConfirmation=\"Best\xE4tigung\"\r\n"
                           "FrmMain.m_aMWarning=\"Warnung\"\r\n";

QStringList buttonTexts(const QMessageBox &box)
{
    QStringList texts;
    for (QAbstractButton *button : box.buttons()) {
        texts.append(button->text());
    }
    texts.sort();
    return texts;
}

} // namespace

class MessageBoxTest : public QObject
{
    Q_OBJECT

private slots:
    // No answerer outlives its test function.
    void cleanup() { vaultbase::test::finishModalAnswers(); }

    void titlesAndCaptionsFollowTheLanguage()
    {
        LanguageStore store;
        using B = MessageBox::Button;
        const MessageBox::Request english =
            MessageBox::request(store, MessageBox::Type::Confirmation, QStringLiteral("Save?"), B::Yes | B::No | B::Cancel);
        QCOMPARE(english.title, QStringLiteral("Confirmation"));
        QCOMPARE(english.buttons, (QList<B>{B::Yes, B::No, B::Cancel}));
        QCOMPARE(english.captions, (QStringList{"Yes", "No", "Cancel"}));

        store.loadFromText(kGerman);
        const MessageBox::Request german = MessageBox::request(store, MessageBox::Type::Confirmation,
                                                               QStringLiteral("Speichern?"),
                                                               B::Yes | B::YesToAll | B::No | B::NoToAll | B::Cancel);
        QCOMPARE(german.title, QStringLiteral("Best\u00E4tigung"));
        QCOMPARE(german.captions, (QStringList{"Ja", "Ja, alle", "Nein", "No to all", "Abbrechen"}));
        QCOMPARE(MessageBox::request(store, MessageBox::Type::Warning, {}, B::Ok).captions, QStringList{"OK"});
        QCOMPARE(MessageBox::request(store, MessageBox::Type::Warning, {}, B::Ok).title, QStringLiteral("Warnung"));
        QCOMPARE(MessageBox::request(store, MessageBox::Type::Error, {}, B::None).buttons, QList<B>{B::Ok});

        const auto box = MessageBox::build(nullptr, german);
        QCOMPARE(box->windowTitle(), QStringLiteral("Best\u00E4tigung"));
        QCOMPARE(box->text(), QStringLiteral("Speichern?"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(buttonTexts(*box), (QStringList{"Abbrechen", "Ja", "Ja, alle", "Nein", "No to all"}));
        QCOMPARE(box->escapeButton()->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(box->defaultButton()->text(), QStringLiteral("Ja"));
    }

    void realBoxReturnsTheButtonPressed()
    {
        LanguageStore store;
        store.loadFromText(kGerman);
        using B = MessageBox::Button;
        const auto press = [](const QString &caption) {
            vaultbase::test::whenModal<QMessageBox>([caption](QMessageBox *box) {
                for (QAbstractButton *button : box->buttons()) {
                    if (button->text() == caption) {
                        button->click();
                    }
                }
            });
        };
        press(QStringLiteral("Nein"));
        QCOMPARE(MessageBox::show(nullptr, store, MessageBox::Type::Confirmation, "?", B::Yes | B::No | B::Cancel), B::No);
        press(QStringLiteral("Abbrechen"));
        QCOMPARE(MessageBox::show(nullptr, store, MessageBox::Type::Confirmation, "?", B::Yes | B::No | B::Cancel), B::Cancel);
        // Escape closes with the escape answer: No when there is no Cancel.
        vaultbase::test::whenModal<QMessageBox>([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(MessageBox::show(nullptr, store, MessageBox::Type::Confirmation, "?", B::Yes | B::No), B::No);
    }

    void answererStandsInForTheModalLoop()
    {
        LanguageStore store;
        using B = MessageBox::Button;
        QList<MessageBox::Request> seen;
        {
            MessageBox::ScopedAnswerer outer([&](const MessageBox::Request &r) {
                seen.append(r);
                return B::Yes;
            });
            {
                MessageBox::ScopedAnswerer inner([&](const MessageBox::Request &r) {
                    seen.append(r);
                    return B::Cancel;
                });
                QCOMPARE(MessageBox::show(nullptr, store, MessageBox::Type::Warning, "a", B::Yes | B::Cancel), B::Cancel);
            }
            QCOMPARE(MessageBox::show(nullptr, store, MessageBox::Type::Information, "b", B::Yes | B::No), B::Yes);
        }
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen.at(0).text, QStringLiteral("a"));
        QCOMPARE(seen.at(0).title, QStringLiteral("Warning"));
        QCOMPARE(seen.at(1).title, QStringLiteral("Information"));
        // With no answerer left, a real box runs again.
        vaultbase::test::whenModal<QMessageBox>([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); });
        QCOMPARE(MessageBox::show(nullptr, store, MessageBox::Type::Error, "c"), B::Ok);
    }
};

VAULTBASE_TEST(MessageBoxTest)
#include "MessageBoxTest.moc"

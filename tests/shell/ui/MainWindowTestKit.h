#pragma once

#include "ModalAnswers.h"
#include "TestRegistry.h"

#include "dbwindow/DatabaseWindow.h"
#include "document/DatabaseFile.h"
#include "document/ElementTree.h"
#include "shell/StoragePaths.h"
#include "shell/ui/MainWindow.h"
#include "tools/ui/PasswordDialog.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

// What the main window tests share: a program with folders of its own, databases
// written with the document API, and answers for the password dialog and message boxes.
namespace mainwintest {

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A database with one folder holding one key, whose user name tells databases apart.
inline bool writeDatabase(const QString &path, const QByteArray &password, const QByteArray &userName = "alice")
{
    ElementTree tree;
    ElementNode *folder = tree.insertElement(nullptr, "Bank", 0, 1, ElementData());
    ElementData key;
    key.Content = userName;
    key.Detail = "pin-1234";
    tree.insertElement(folder, "Card", 3, 3, std::move(key));
    return saveDatabase(tree, path, password, true);
}

// The program's folders inside one temporary folder: program/ (Languages.ini, ...),
// user/ (the storage folder's base), common/ (the installation record).
struct Program
{
    QTemporaryDir root;
    StoragePaths paths{folder(QStringLiteral("program")), folder(QStringLiteral("user")),
                       folder(QStringLiteral("common"))};

    QString folder(const QString &name)
    {
        QDir(root.path()).mkpath(name);
        return root.filePath(name);
    }
    QString file(const QString &name) const { return root.filePath(name); }
    QString storage() const { return paths.storageFolder().folder; }
    QString settingsFile() const { return StoragePaths::settingsFile(storage()); }

    std::unique_ptr<MainWindow> window(const QStringList &arguments = {}) const
    {
        SettingsEnvironment env;
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        env.screenLeft = area.left();
        env.screenTop = area.top();
        env.screenWidth = area.width();
        env.screenHeight = area.height();
        env.baseFont.name = "Sans Serif";
        env.baseFont.height = -12;
        return std::make_unique<MainWindow>(MainWindowSetup{paths, env, arguments});
    }
};

// Shows the window and waits for its start-up to finish.
inline bool start(MainWindow &window)
{
    window.show();
    return QTest::qWaitFor([&window] { return window.isStartupFinished(); }, 10000);
}

// Answers the password dialog whenever it is shown modally: each answer is a password
// (OK) or nothing (Cancel); questions beyond the list are cancelled. Counts the questions.
// The test fails when fewer questions came than answers were given.
class PasswordAnswers
{
public:
    explicit PasswordAnswers(QList<std::optional<QByteArray>> answers, QByteArray confirmation = {})
        : m_answers(std::move(answers)), m_confirmation(std::move(confirmation)),
          m_answerer(new vaultbase::test::ModalAnswerer(
              QStringLiteral("PasswordDialog"), [this](QWidget *modal) { return answer(modal); },
              int(m_answers.size()), -1))
    {
    }
    ~PasswordAnswers()
    {
        if (m_answerer) {
            m_answerer->finish();
        }
    }
    PasswordAnswers(const PasswordAnswers &) = delete;
    PasswordAnswers &operator=(const PasswordAnswers &) = delete;

    int asked() const { return m_asked; }
    QStringList captions() const { return m_captions; }
    // Runs in the dialog's loop before it is answered (once per question).
    std::function<void()> whileAsked;

private:
    bool answer(QWidget *modal)
    {
        auto *dialog = qobject_cast<PasswordDialog *>(modal);
        if (!dialog) {
            return false;
        }
        ++m_asked;
        m_captions.append(dialog->windowTitle());
        if (whileAsked) {
            whileAsked();
        }
        const std::optional<QByteArray> answer = m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
        if (!answer) {
            dialog->reject();
            return true;
        }
        dialog->setPassword(*answer);
        if (dialog->confirmationMode()) {
            dialog->setConfirmation(m_confirmation.isEmpty() ? *answer : m_confirmation);
        }
        dialog->accept();
        return true;
    }

    QList<std::optional<QByteArray>> m_answers;
    QByteArray m_confirmation;
    int m_asked = 0;
    QStringList m_captions;
    QPointer<vaultbase::test::ModalAnswerer> m_answerer;
};

// Answers every message box with the first of the given buttons it offers, and keeps
// what each one said.
class MessageAnswers
{
public:
    explicit MessageAnswers(QList<MessageBox::Button> preferred = {MessageBox::Button::Ok})
        : m_scope([this, preferred](const MessageBox::Request &request) {
              requests.append(request);
              for (MessageBox::Button button : preferred) {
                  if (request.buttons.contains(button)) {
                      return button;
                  }
              }
              return request.buttons.value(0, MessageBox::Button::Ok);
          })
    {
    }

    QStringList texts() const
    {
        QStringList all;
        for (const MessageBox::Request &request : requests) {
            all.append(request.text);
        }
        return all;
    }

    QList<MessageBox::Request> requests;

private:
    MessageBox::ScopedAnswerer m_scope;
};

} // namespace mainwintest

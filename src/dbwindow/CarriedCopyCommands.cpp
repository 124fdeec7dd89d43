#include "CarriedCopyCommands.h"

#include "ChildTexts.h"
#include "MainServices.h"
#include "WriteProblemText.h"
#include "editing/DatabaseDocument.h"
#include "shell/LanguageStore.h"
#include "shell/MainWindowTexts.h"
#include "shell/Settings.h"
#include "shell/TempFiles.h"
#include "widgets/FileFilter.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

CarriedCopyCommands::CarriedCopyCommands(DatabaseDocument &document, MainServices &main, QObject *parent)
    : QObject(parent), m_document(document), m_main(main)
{
}

bool CarriedCopyCommands::canCarry() const
{
    return !m_document.filePath().isEmpty() && !m_document.password().isEmpty();
}

QString CarriedCopyCommands::programPath() const
{
    return m_programPath.isEmpty() ? QCoreApplication::applicationFilePath() : m_programPath;
}

bool CarriedCopyCommands::createPortable()
{
    if (!canCarry()) {
        return false;
    }
    const QFileInfo database(m_document.filePath());
    const QString destination = askDestination(mainText("m_aMExeFilter"), database.absolutePath() + u'/'
                                                                             + database.completeBaseName());
    return !destination.isEmpty() && writeCopy(programPath(), destination, true);
}

bool CarriedCopyCommands::attachToFile()
{
    if (!canCarry()) {
        return false;
    }
    const QString carrier = QFileDialog::getOpenFileName(m_main.dialogParent(), QString(),
                                                         QFileInfo(m_document.filePath()).absolutePath(),
                                                         QtFileFilter(mainText("m_aMAllFilter")));
    if (carrier.isEmpty()) {
        return false;
    }
    const QString extension = TempFiles::extensionOf(QFileInfo(carrier).fileName());
    const QString destination = askDestination(fileTypeFilter(mainText("m_aMContFilter"), extension), carrier);
    return !destination.isEmpty() && writeCopy(carrier, destination, false);
}

QString CarriedCopyCommands::askDestination(const QString &filter, const QString &proposed)
{
    return QFileDialog::getSaveFileName(m_main.dialogParent(), QString(), proposed, QtFileFilter(filter));
}

bool CarriedCopyCommands::writeCopy(const QString &source, const QString &destination, bool portable)
{
    const QByteArray language = portable ? m_main.language().toText() : QByteArray();
    // The whole program or carrier is copied: that may take a moment.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CarriedCopy::Result result =
        CarriedCopy::write(m_document, source, destination, portable, m_main.settings().saveBinary, language);
    QApplication::restoreOverrideCursor();
    if (!result.ok()) {
        MessageBox::show(m_main.dialogParent(), m_main.language(), MessageBox::Type::Warning,
                         problemText(result, source, destination));
    }
    return result.ok();
}

QString CarriedCopyCommands::problemText(const CarriedCopy::Result &result, const QString &source,
                                         const QString &destination) const
{
    const QString shownDestination = QDir::toNativeSeparators(destination);
    switch (result.problem) {
    case CarriedCopy::Problem::None:
    case CarriedCopy::Problem::NotSaved: break;
    case CarriedCopy::Problem::DatabaseItself: return childText("m_aMCarryIsDatabase") + shownDestination;
    case CarriedCopy::Problem::NotEncrypted: return childText("m_aMCarryNotEncrypted");
    case CarriedCopy::Problem::NotWritten:
        switch (result.write.problem) {
        case CarryWrite::Problem::SourceUnreadable:
            return childText("m_aMFileNotRead") + QDir::toNativeSeparators(source);
        case CarryWrite::Problem::TooLarge: return childText("m_aMCarryTooLarge") + QDir::toNativeSeparators(source);
        case CarryWrite::Problem::NoCiphertext: return childText("m_aMCarryNotEncrypted");
        case CarryWrite::Problem::None:
        case CarryWrite::Problem::NotWritten: break;
        }
        return childText("m_aMFileNotWritten") + shownDestination + u'\n'
            + writeProblemText(m_main.language(), result.write.failure);
    }
    return childText("m_aMFileNotWritten") + shownDestination;
}

QString CarriedCopyCommands::childText(const char *key) const
{
    return m_main.language().uiText(childWindowTexts(), key);
}

QString CarriedCopyCommands::mainText(const char *key) const
{
    return m_main.language().uiText(mainWindowTexts(), key);
}

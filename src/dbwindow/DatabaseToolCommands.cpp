#include "DatabaseToolCommands.h"

#include "ChildActions.h"

#include "ChildTexts.h"
#include "MainServices.h"
#include "TextFont.h"
#include "editing/DatabaseDocument.h"
#include "platform/CodePage.h"
#include "shell/LanguageStore.h"
#include "shell/MainWindowTexts.h"
#include "shell/Settings.h"
#include "tools/ExportPaths.h"
#include "tools/PrintDocument.h"
#include "tools/ui/PagePrinter.h"
#include "tools/ui/PrintPreviewWindow.h"
#include "tools/ui/PropertiesDialog.h"
#include "widgets/FileFilter.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

namespace {

// A list of paths or names for a message, at most a screenful.
QString listed(const QStringList &items)
{
    constexpr int Shown = 12;
    QStringList lines = items.mid(0, Shown);
    if (items.size() > Shown) {
        lines.append(QStringLiteral("..."));
    }
    return lines.join(u'\n');
}

} // namespace

DatabaseToolCommands::DatabaseToolCommands(DatabaseDocument &document, MainServices &main, View view,
                                           QObject *parent)
    : QObject(parent), m_document(document), m_main(main), m_view(std::move(view))
{
}

void DatabaseToolCommands::connectTo(ChildActions &actions)
{
    const auto on = [this](QAction *action, auto handler) {
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, [this, handler] {
            if (m_view.commitPendingEdits) {
                m_view.commitPendingEdits();
            }
            handler();
        });
    };
    on(actions.MenProperties, [this] { showProperties(); });
    on(actions.MenPrint, [this] { print(); });
    on(actions.MenPrintAll, [this] { printAll(); });
    on(actions.MenPrintPreview, [this] { showPrintPreview(); });
    on(actions.MenExportSingle, [this] { exportElements(ExportVariant::Selected); });
    on(actions.MenExportAll, [this] { exportElements(ExportVariant::All); });
    on(actions.MenExportAllFiles, [this] { exportElements(ExportVariant::AllAsFiles); });
    on(actions.MenExportAllFilesFolders, [this] { exportElements(ExportVariant::AllAsFilesInFolders); });
    on(actions.MenExportFileEntries, [this] { exportElements(ExportVariant::FileEntries); });
    actions.MenExport->menuAction()->setEnabled(true);
}

DatabaseToolCommands::~DatabaseToolCommands() = default;

PagePrinter &DatabaseToolCommands::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<PagePrinter>(m_main.language(), m_main.dialogParent());
    }
    return *m_printer;
}

PrintPreviewWindow &DatabaseToolCommands::preview()
{
    if (!m_preview) {
        m_preview = std::make_unique<PrintPreviewWindow>(m_main.language(), printer(), m_main.dialogParent());
    }
    return *m_preview;
}

PropertiesDialog &DatabaseToolCommands::properties()
{
    if (!m_properties) {
        m_properties = std::make_unique<PropertiesDialog>(m_main.language(), m_main.settings(), m_main.dialogParent());
    }
    return *m_properties;
}

ElementNode *DatabaseToolCommands::selectedElement() const
{
    return m_view.selectedElement ? m_view.selectedElement() : nullptr;
}

// The database window's text font: the main window's with the settings' font applied.
QFont DatabaseToolCommands::textFont() const
{
    const QWidget *mainWindow = m_main.dialogParent();
    return TextFont::fromSettings(m_main.settings(), mainWindow ? mainWindow->font() : QApplication::font());
}

PrintSource DatabaseToolCommands::printSource() const
{
    const Settings &settings = m_main.settings();
    PrintSource source;
    source.tree = &m_document.tree();
    source.filePath = m_document.filePath();
    source.options = PrintOptions{settings.richText, settings.hidePass};
    source.fontFamily = settings.font.name.isEmpty() ? textFont().family() : CodePage::toUnicode(settings.font.name);
    source.fontHeight = settings.font.height;
    source.selected = m_document.tree().absoluteIndex(selectedElement());
    return source;
}

void DatabaseToolCommands::showProperties()
{
    properties().setDatabase(m_document.filePath(), m_document.tree(), m_document.password());
    properties().exec();
}

void DatabaseToolCommands::print()
{
    const ElementNode *node = selectedElement();
    if (!node) {
        return;
    }
    const PrintSource source = printSource();
    PrintDocument document(m_document.tree(), source.options, printLinesPerPage(source.fontHeight));
    document.setRange(source.selected, source.selected + 1);
    PrintStyle style = preview().style();
    style.title = CodePage::toUnicode(node->name());
    style.fontFamily = source.fontFamily;
    printer().print(document, style, printJobName(source.filePath), PagePrinter::proposedPdf(source.filePath, style.title));
}

void DatabaseToolCommands::printAll()
{
    if (m_document.tree().isEmpty()) {
        return;
    }
    const PrintSource source = printSource();
    const PrintDocument document(m_document.tree(), source.options, printLinesPerPage(source.fontHeight));
    PrintStyle style = preview().style();
    style.title = QFileInfo(source.filePath).fileName();
    style.fontFamily = source.fontFamily;
    printer().print(document, style, printJobName(source.filePath), PagePrinter::proposedPdf(source.filePath, style.title));
}

void DatabaseToolCommands::showPrintPreview()
{
    if (m_document.tree().isEmpty()) {
        return;
    }
    preview().setSource(printSource());
    preview().showPreview();
}

QString DatabaseToolCommands::askExportTarget(ExportVariant variant)
{
    const QString path = m_document.filePath();
    const QString folder = path.isEmpty() ? QDir::homePath() : QFileInfo(path).absolutePath();
    QWidget *parent = m_main.dialogParent();
    if (variant == ExportVariant::FileEntries) {
        return QFileDialog::getExistingDirectory(parent, QString(), folder);
    }
    const QString start = folder + u'/' + (path.isEmpty() ? QStringLiteral("Export") : QFileInfo(path).completeBaseName());
    const QString filter = m_main.language().uiText(mainWindowTexts(), "m_aMExportFilter");
    QString chosenFilter;
    QString target = QFileDialog::getSaveFileName(parent, QString(), start, QtFileFilter(filter), &chosenFilter);
    if (!target.isEmpty() && QFileInfo(target).suffix().isEmpty()) {
        target += chosenFilter.contains(QLatin1String("*.txt")) ? QLatin1String(".txt") : QLatin1String(".htm");
    }
    return target;
}

void DatabaseToolCommands::exportElements(ExportVariant variant)
{
    const QString chosen = askExportTarget(variant);
    if (chosen.isEmpty()) {
        return;
    }
    // The file entries need only a folder; documents a name that says their format.
    const ExportTarget target =
        variant == ExportVariant::FileEntries ? ExportTarget{chosen, QString(), QStringLiteral(".htm")} : exportTargetOf(chosen);
    bool fontOk = false;
    QByteArray fontName = CodePage::fromUnicode(textFont().family(), &fontOk);
    if (!fontOk) {
        fontName = "Arial";
    }
    reportExport(exportElementsTo(m_document.tree(), selectedElement(), target.folder, target.baseName,
                                target.extension, fontName, switchesFor(variant)));
}

void DatabaseToolCommands::reportExport(const ExportResult &result)
{
    LanguageStore &language = m_main.language();
    if (!result.mendedNames.isEmpty()) {
        QStringList names;
        for (const QByteArray &name : result.mendedNames) {
            names.append(CodePage::toUnicode(name));
        }
        MessageBox::show(m_main.dialogParent(), language, MessageBox::Type::Information,
                         language.uiText(childWindowTexts(), "m_aMExportNamesChanged") + u'\n' + listed(names));
    }
    if (!result.failed.isEmpty()) {
        QStringList paths;
        for (const QString &path : result.failed) {
            paths.append(QDir::toNativeSeparators(path));
        }
        MessageBox::show(m_main.dialogParent(), language, MessageBox::Type::Warning,
                         language.uiText(childWindowTexts(), "m_aMExportNotWritten") + u'\n' + listed(paths));
    }
}

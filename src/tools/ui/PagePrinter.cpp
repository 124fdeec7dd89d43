#include "PagePrinter.h"

#include "PrintTexts.h"
#include "platform/SecretFile.h"
#include "shell/LanguageStore.h"
#include "tools/PrintDocument.h"
#include "widgets/FileFilter.h"
#include "widgets/MessageBox.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

PagePrinter::PagePrinter(const LanguageStore &language, QWidget *dialogParent)
    : m_language(language), m_dialogParent(dialogParent), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
}

PagePrinter::~PagePrinter() = default;

QSize PagePrinter::pageSize() const
{
    return {m_printer->width(), m_printer->height()};
}

bool PagePrinter::printersInstalled()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

QString PagePrinter::proposedPdf(const QString &databasePath, const QString &name)
{
    const QString folder = databasePath.isEmpty() ? QDir::homePath() : QFileInfo(databasePath).absolutePath();
    QString base = QFileInfo(name).completeBaseName();
    if (base.isEmpty() || base.contains(u'/')) {
        base = QStringLiteral("Vaultbase");
    }
    return folder + u'/' + base + QLatin1String(".pdf");
}

bool PagePrinter::setUp(QWidget *parent)
{
    QPrintDialog dialog(m_printer.get(), parent);
    return dialog.exec() == QDialog::Accepted;
}

PagePrinter::Result PagePrinter::print(const PrintDocument &document, const PrintStyle &style, const QString &jobName,
                                       const QString &suggestedPdf)
{
    const bool fileChosen = m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty();
    QString failedTarget;
    if (fileChosen || !printersInstalled()) {
        const QString path = fileChosen ? m_printer->outputFileName() : askPdfPath(suggestedPdf);
        if (path.isEmpty()) {
            return Result::Cancelled;
        }
        if (writePdf(path, document, style, jobName)) {
            return Result::Printed;
        }
        failedTarget = QDir::toNativeSeparators(path);
    } else {
        m_printer->setDocName(jobName);
        if (document.print(*m_printer, style)) {
            return Result::Printed;
        }
        failedTarget = m_printer->printerName();
    }
    MessageBox::show(m_dialogParent, m_language, MessageBox::Type::Warning,
                     m_language.uiText(printTexts(), "m_aMPrintFailed") + failedTarget);
    return Result::Failed;
}

QString PagePrinter::askPdfPath(const QString &suggested) const
{
    if (m_askPdfPath) {
        return m_askPdfPath(suggested);
    }
    QString path = QFileDialog::getSaveFileName(m_dialogParent, QString(), suggested,
                                                QtFileFilter(m_language.uiText(printTexts(), "m_aMPdfFilter")));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1String(".pdf");
    }
    return path;
}

bool PagePrinter::writePdf(const QString &path, const PrintDocument &document, const PrintStyle &style,
                           const QString &jobName) const
{
    // The printer's page and resolution, so the PDF holds the pages the preview showed.
    return SecretFile::write(path, [&](QIODevice &out) {
        QPdfWriter writer(&out);
        writer.setPageLayout(m_printer->pageLayout());
        writer.setResolution(m_printer->resolution());
        writer.setTitle(jobName);
        writer.setCreator(QStringLiteral("Brightway Vaultbase"));
        return document.print(writer, style);
    });
}

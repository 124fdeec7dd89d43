#include "PrintPreviewWindow.h"

#include "PagePrinter.h"
#include "PrintTexts.h"
#include "document/ElementTree.h"
#include "shell/LanguageStore.h"
#include "tools/PreviewZoom.h"
#include "tools/PrintDocument.h"
#include "tools/PrintRange.h"
#include "widgets/Icons.h"
#include "widgets/LanguageApplier.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

PrintPreviewWindow::PrintPreviewWindow(const LanguageStore &language, PagePrinter &printer, QWidget *parent)
    : QDialog(parent), m_language(language), m_printer(printer)
{
    setObjectName(QStringLiteral("FrmPrint"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    buildLayout();
    applyTexts();
}

PrintPreviewWindow::~PrintPreviewWindow() = default;

void PrintPreviewWindow::buildLayout()
{
    m_drawBorder = named(new QCheckBox(this), "ChkDrawBorder");
    m_drawLines = named(new QCheckBox(this), "ChkDrawLines");
    m_pageNumbers = named(new QCheckBox(this), "ChkPages");
    m_drawBorder->setChecked(true);
    m_drawLines->setChecked(true);
    m_title = named(new QLineEdit(this), "EdtTitle");
    auto *titleLabel = named(new QLabel(this), "LblTitle");
    titleLabel->setBuddy(m_title);
    auto *printerButton = named(new QPushButton(this), "BtnPrinter");
    printerButton->setIcon(Icons::command(Icons::Command::Print));

    // The buttons show a sign; their texts are their hints.
    const auto toolButton = [this](const char *name, const char16_t *sign, void (PrintPreviewWindow::*click)()) {
        auto *button = named(new QToolButton(this), name);
        button->setProperty("sign", QString::fromUtf16(sign));
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, click);
        m_hintButtons.append(button);
        return button;
    };
    m_selection = named(new QCheckBox(this), "ChkSelection");
    m_selectionPanel = named(new QWidget(this), "PnlSelection");
    m_from = named(new QComboBox(m_selectionPanel), "CbbFrom");
    m_to = named(new QComboBox(m_selectionPanel), "CbbTo");
    auto *selectionRow = new QHBoxLayout(m_selectionPanel);
    selectionRow->setContentsMargins(0, 0, 0, 0);
    for (QComboBox *list : {m_from, m_to}) {
        list->setEditable(true);
        list->setInsertPolicy(QComboBox::NoInsert);
        list->setMinimumContentsLength(7);
        auto *label = named(new QLabel(m_selectionPanel), list == m_from ? "LblFrom" : "LblTo");
        label->setBuddy(list);
        selectionRow->addWidget(label);
        selectionRow->addWidget(list);
    }
    m_selectionPanel->hide();
    auto *print = named(new QPushButton(this), "BtnPrint");
    print->setIcon(Icons::command(Icons::Command::Print));
    auto *ok = named(new QPushButton(this), "BtnOK");

    auto *options = new QHBoxLayout;
    options->addWidget(m_drawBorder);
    options->addWidget(m_drawLines);
    options->addWidget(m_pageNumbers);
    options->addSpacing(12);
    options->addWidget(titleLabel);
    options->addWidget(m_title, 1);
    options->addWidget(printerButton);

    auto *pages = new QHBoxLayout;
    pages->addWidget(toolButton("BtnZoomIn", u"+", &PrintPreviewWindow::zoomIn));
    pages->addWidget(toolButton("BtnZoomOut", u"\u2212", &PrintPreviewWindow::zoomOut));
    pages->addSpacing(12);
    pages->addWidget(toolButton("BtnFirst", u"|\u25C0", &PrintPreviewWindow::showFirstPage));
    pages->addWidget(toolButton("BtnPrev", u"\u25C0", &PrintPreviewWindow::showPreviousPage));
    pages->addWidget(toolButton("BtnNext", u"\u25B6", &PrintPreviewWindow::showNextPage));
    pages->addWidget(toolButton("BtnLast", u"\u25B6|", &PrintPreviewWindow::showLastPage));
    pages->addSpacing(12);
    pages->addWidget(m_selection);
    pages->addWidget(m_selectionPanel);
    pages->addStretch();
    pages->addWidget(print);
    pages->addWidget(ok);

    m_pageView = named(new QLabel, "ImgPage");
    m_scroll = named(new QScrollArea(this), "ScbPage");
    m_scroll->setWidget(m_pageView);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->viewport()->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addLayout(pages);
    layout->addWidget(m_scroll, 1);

    for (QCheckBox *box : {m_drawBorder, m_drawLines, m_pageNumbers}) {
        connect(box, &QCheckBox::toggled, this, &PrintPreviewWindow::drawPage);
    }
    connect(m_title, &QLineEdit::textChanged, this, &PrintPreviewWindow::drawPage);
    connect(m_selection, &QCheckBox::clicked, this, &PrintPreviewWindow::applyRangeChoice);
    connect(m_from, &QComboBox::currentTextChanged, this, &PrintPreviewWindow::applyRangeChoice);
    connect(m_to, &QComboBox::currentTextChanged, this, &PrintPreviewWindow::applyRangeChoice);
    connect(printerButton, &QPushButton::clicked, this, &PrintPreviewWindow::choosePrinter);
    connect(print, &QPushButton::clicked, this, &PrintPreviewWindow::printPages);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    resize(900, 700);
}

void PrintPreviewWindow::setSource(const PrintSource &source)
{
    m_source = source;
    m_document = std::make_unique<PrintDocument>(*source.tree, source.options, printLinesPerPage(source.fontHeight));
    {
        const QSignalBlocker quiet(m_title);
        m_title->setText(QFileInfo(source.filePath).fileName());
    }
    m_selection->setChecked(false);
    m_selectionPanel->hide();
    m_zoom = 1.0;
    m_page = 1;
    fillRangeLists();
}

int PrintPreviewWindow::showPreview()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    return exec();
}

PrintStyle PrintPreviewWindow::style() const
{
    PrintStyle style;
    style.drawBorder = m_drawBorder->isChecked();
    style.drawLines = m_drawLines->isChecked();
    style.pageNumbers = m_pageNumbers->isChecked();
    style.title = m_title->text();
    style.fontFamily = m_source.fontFamily;
    return style;
}

int PrintPreviewWindow::pageCount() const
{
    return m_document ? m_document->pageCount() : 0;
}

void PrintPreviewWindow::fillRangeLists()
{
    const int count = m_source.tree ? m_source.tree->count() : 0;
    const QSignalBlocker quietFrom(m_from);
    const QSignalBlocker quietTo(m_to);
    m_from->clear();
    m_to->clear();
    for (const int choice : printRangeChoices(count)) {
        m_from->addItem(QString::number(choice));
        m_to->addItem(QString::number(choice));
    }
    const int selected = m_source.selected >= 0 ? m_source.selected + 1 : 1;
    m_from->setEditText(QString::number(selected));
    m_to->setEditText(QString::number(count));
    const QString hint = captionOf(m_language.uiText(printTexts(), "LblFrom")) + QLatin1String(": 1 ... [")
        + QString::number(selected) + QLatin1String("] ... ") + m_language.uiText(printTexts(), "LblTo")
        + QLatin1String(": ") + QString::number(count);
    m_from->setToolTip(hint);
    m_to->setToolTip(hint);
}

void PrintPreviewWindow::applyRangeChoice()
{
    if (!m_document) {
        return;
    }
    const int count = m_source.tree->count();
    m_selectionPanel->setVisible(m_selection->isChecked());
    const ElementRange range = m_selection->isChecked() ? printRangeFromTexts(m_from->currentText(), m_to->currentText(), count)
                                                        : ElementRange{0, count};
    if (range.first != m_document->first() || range.end != m_document->end()) {
        m_document->setRange(range.first, range.end);
    }
    showPage(1);
}

void PrintPreviewWindow::zoomIn()
{
    m_zoom = PreviewZoom::in(m_zoom);
    drawPage();
}

void PrintPreviewWindow::zoomOut()
{
    m_zoom = PreviewZoom::out(m_zoom);
    drawPage();
}

void PrintPreviewWindow::showFirstPage()
{
    showPage(1);
}

void PrintPreviewWindow::showPreviousPage()
{
    showPage(m_page - 1);
}

void PrintPreviewWindow::showNextPage()
{
    showPage(m_page + 1);
}

void PrintPreviewWindow::showLastPage()
{
    showPage(pageCount());
}

void PrintPreviewWindow::choosePrinter()
{
    if (!m_printer.setUp(this)) {
        return;
    }
    m_zoom = 1.0;
    applyRangeChoice();
}

void PrintPreviewWindow::printPages()
{
    if (!m_document) {
        return;
    }
    const PrintStyle pageStyle = style();
    const PagePrinter::Result result = m_printer.print(*m_document, pageStyle, printJobName(m_source.filePath),
                                                       PagePrinter::proposedPdf(m_source.filePath, pageStyle.title));
    if (result == PagePrinter::Result::Printed) {
        accept();
    }
}

void PrintPreviewWindow::showPage(int page)
{
    m_page = std::clamp(page, 1, std::max(1, pageCount()));
    drawPage();
}

void PrintPreviewWindow::drawPage()
{
    if (!m_document || !isVisible()) {
        return;
    }
    const QSize paper = m_printer.pageSize();
    const bool landscape = paper.width() > paper.height();
    const double ratio = landscape ? double(paper.height()) / paper.width() : double(paper.width()) / paper.height();
    const QSize size = PreviewZoom::imageSize(m_scroll->viewport()->size(), m_zoom, landscape, ratio);
    m_image = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    m_image.fill(Qt::white);
    {
        QPainter painter(&m_image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        m_document->paintPage(painter, m_image.size(), m_page, style());
    }
    m_pageView->setPixmap(QPixmap::fromImage(m_image));
    m_pageView->resize(m_image.size());
    setWindowTitle(m_language.uiText(printTexts(), "Caption") + QStringLiteral(" (%1/%2)").arg(m_page).arg(pageCount()));
}

void PrintPreviewWindow::applyTexts()
{
    applyLanguageTexts(this, m_language, printTexts());
    for (QToolButton *button : std::as_const(m_hintButtons)) {
        button->setToolTip(button->text());
        button->setText(button->property("sign").toString());
    }
}

void PrintPreviewWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        applyTexts();
        drawPage();
    }
}

bool PrintPreviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize) {
        drawPage();
    }
    return QDialog::eventFilter(watched, event);
}

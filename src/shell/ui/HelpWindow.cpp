#include "HelpWindow.h"

#include "HelpTexts.h"
#include "shell/LanguageStore.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const LanguageStore &language, QWidget *parent)
    : QDialog(parent), m_language(language), m_text(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("FrmHelp"));
    m_text->setObjectName(QStringLiteral("MemHelp"));
    m_text->setOpenExternalLinks(false);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("BtnOK"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    resize(fontMetrics().averageCharWidth() * 80, fontMetrics().height() * 32);
    applyLanguage();
}

void HelpWindow::showEvent(QShowEvent *event)
{
    applyLanguage();
    // A large font must not push the window past a small screen.
    if (const QScreen *shown = screen()) {
        const QSize room = shown->availableGeometry().size() * 9 / 10;
        resize(size().boundedTo(room));
    }
    QDialog::showEvent(event);
}

void HelpWindow::applyLanguage()
{
    const LanguageSection &texts = helpWindowTexts();
    setWindowTitle(m_language.uiText(texts, "Caption"));
    if (auto *close = findChild<QPushButton *>(QStringLiteral("BtnOK"))) {
        close->setText(m_language.uiText(texts, "BtnOK"));
    }
    m_text->setHtml(summaryHtml());
}

QString HelpWindow::summaryHtml() const
{
    const LanguageSection &texts = helpWindowTexts();
    QString html = QStringLiteral("<p>%1</p>").arg(m_language.uiText(texts, "m_aHelpIntro").toHtmlEscaped());
    for (const HelpGroup &group : helpGroups()) {
        html += QStringLiteral("<h3>%1</h3>").arg(m_language.uiText(texts, group.headingKey).toHtmlEscaped());
        for (const char *key : group.commandKeys) {
            const QString text = m_language.uiText(texts, key);
            const qsizetype colon = text.indexOf(QLatin1String(": "));
            const QString name = colon < 0 ? QString() : text.left(colon);
            const QString what = colon < 0 ? text : text.mid(colon + 2);
            html += name.isEmpty() ? QStringLiteral("<p>%1</p>").arg(what.toHtmlEscaped())
                                   : QStringLiteral("<p><b>%1</b> &ndash; %2</p>").arg(name.toHtmlEscaped(),
                                                                                       what.toHtmlEscaped());
        }
    }
    return html;
}

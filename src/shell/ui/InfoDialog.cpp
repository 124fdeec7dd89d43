#include "InfoDialog.h"

#include "InfoTexts.h"
#include "shell/LanguageStore.h"
#include "shell/Version.h"
#include "widgets/Icons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

InfoDialog::InfoDialog(const LanguageStore &language, QWidget *parent)
    : QDialog(parent), m_language(language), m_logo(new QLabel(this))
{
    setObjectName(QStringLiteral("FrmInfo"));
    m_logo->setObjectName(QStringLiteral("ImgLogo"));
    m_logo->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_logo->setPixmap(logo());

    QLabel *name = addLabel("LblName", false);
    name->setText(QLatin1String(ProgramName));
    QFont big = name->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    name->setFont(big);
    addLabel("LblVersion", false)->setText(QLatin1String(Version::Text));
    addLabel("LblDescription", true);
    QLabel *creditsTitle = addLabel("LblCreditsTitle", false);
    QFont bold = creditsTitle->font();
    bold.setBold(true);
    creditsTitle->setFont(bold);
    addLabel("LblCredits", true);
    QLabel *homepage = addLabel("LblHomepage", false);
    homepage->setTextFormat(Qt::RichText);
    homepage->setOpenExternalLinks(true);
    homepage->setTextInteractionFlags(Qt::TextBrowserInteraction);

    auto *texts = new QVBoxLayout;
    for (const char *label : {"LblName", "LblVersion", "LblDescription", "LblCreditsTitle", "LblCredits", "LblHomepage"}) {
        texts->addWidget(findChild<QLabel *>(QLatin1String(label)));
        if (QByteArrayView(label) == "LblVersion" || QByteArrayView(label) == "LblDescription") {
            texts->addSpacing(fontMetrics().height() / 2);
        }
    }
    texts->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(m_logo);
    top->addSpacing(fontMetrics().averageCharWidth() * 2);
    top->addLayout(texts, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    applyLanguage();
}

QLabel *InfoDialog::addLabel(const char *objectName, bool wrap)
{
    auto *label = new QLabel(this);
    label->setObjectName(QLatin1String(objectName));
    label->setWordWrap(wrap);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPixmap InfoDialog::logo() const
{
    const int side = fontMetrics().height() * 4;
    return Icons::application().pixmap(side, side);
}

void InfoDialog::showEvent(QShowEvent *event)
{
    applyLanguage();
    QDialog::showEvent(event);
}

void InfoDialog::applyLanguage()
{
    const LanguageSection &texts = infoWindowTexts();
    setWindowTitle(m_language.uiText(texts, "Caption"));
    for (const char *key : {"LblDescription", "LblCreditsTitle", "LblCredits"}) {
        findChild<QLabel *>(QLatin1String(key))->setText(m_language.uiText(texts, key));
    }
    findChild<QLabel *>(QStringLiteral("LblHomepage"))
        ->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                      .arg(QLatin1String(MakerSite), m_language.uiText(texts, "LblHomepage").toHtmlEscaped()));
    findChild<QPushButton *>(QStringLiteral("BtnOK"))->setText(m_language.uiText(texts, "BtnOK"));
}

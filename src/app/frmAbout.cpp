#include "frmAbout.h"

#include "AppConfig.h"
#include "Fonts.h"
#include "LinkLabel.h"
#include "Twips.h"
#include "Version.h"
#include "modHelp.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

QLabel *wrappedLabel(const QString &text, const TwipsRect &rect, const QFont &font, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(rect.toPixels());
    return label;
}

} // namespace

frmAbout::frmAbout(const AppConfig &config, LinkOpener &links, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_config(config)
    , m_links(links)
{
    setWindowTitle(Version::caption());
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(Twips::toPixels(6825), Twips::toPixels(3420));

    paintOrange();
    buildTexts();
    buildButton();
    nameControls();

    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

void frmAbout::paintOrange()
{
    QPalette colours = palette();
    // The design's orange (255, 128, 0) darkened until white on it reads at 4.9:1.
    const QColor orange(176, 88, 0);
    colours.setColor(QPalette::Window, orange);
    colours.setColor(QPalette::WindowText, Qt::white);
    colours.setColor(QPalette::Link, Qt::white);
    colours.setColor(QPalette::LinkVisited, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);
    setFont(Fonts::verdana(8.25));
}

void frmAbout::buildTexts()
{
    Picture1 = new QLabel(this);
    Picture1->setPixmap(QIcon(QStringLiteral(":/icons/somnilex.svg")).pixmap(32, 32));
    Picture1->setGeometry(TwipsRect { 150, 90, 480, 480 }.toPixels());
    Picture1->setAccessibleName(tr("Somnilex icon"));

    Label2 = wrappedLabel(
        Version::caption(), { 1080, 90, 2955, 240 }, Fonts::verdana(9.75, true), this);
    Label1 = wrappedLabel(
        tr("Somnilex Software is a collection of all words possible related to the field of "
           "dream analysis and interpretation. This software gives an easy reference of words "
           "and definitions of all possible dream symbols."),
        { 1080, 480, 5655, 1425 }, Fonts::verdana(8.25), this);

    const QString homePage = tr("Visit us online at %1").arg(m_config.MainSiteAddress);
    lblHomePage = new LinkLabel(homePage, this);
    lblHomePage->setFont(Fonts::verdana(8.25));
    lblHomePage->setGeometry(TwipsRect { 2670, 1560, 4050, 195 }.toPixels());
    lblHomePage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Label3 = wrappedLabel(tr("Sell Somnilex under your own name: fully branded and co-branded "
                             "editions are available."),
        { 1080, 1920, 5685, 555 }, Fonts::verdana(8.25, true), this);

    lblCoBrand = new LinkLabel(tr("Click here for more details."), this);
    lblCoBrand->setFont(Fonts::verdana(8.25));
    lblCoBrand->setGeometry(TwipsRect { 4410, 2520, 2355, 195 }.toPixels());
    lblCoBrand->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void frmAbout::buildButton()
{
    // The rule runs from just left of the box to just past its right edge.
    Line1 = new QFrame(this);
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Plain);
    Line1->setPalette(palette());
    Line1->setGeometry(Twips::toPixels(-60), Twips::toPixels(2910), Twips::toPixels(6900), 1);

    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setGeometry(TwipsRect { 5400, 3000, 1260, 345 }.toPixels());
    // Reset the button to the ordinary colours so that its caption stays readable.
    cmdOK->setPalette(QGuiApplication::palette());
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(lblHomePage, &LinkLabel::clicked, this, &frmAbout::lblHomePage_Click);
    connect(lblCoBrand, &LinkLabel::clicked, this, &frmAbout::lblCoBrand_Click);

    // Enter lands on OK whatever the tab order says; Esc already rejects a dialog.
    setTabOrder(cmdOK, lblHomePage);
    setTabOrder(lblHomePage, lblCoBrand);
    cmdOK->setFocus();
}

void frmAbout::nameControls()
{
    const std::pair<QObject *, const char *> names[] = {
        { Picture1, "Picture1" },
        { Label2, "Label2" },
        { Label1, "Label1" },
        { lblHomePage, "lblHomePage" },
        { Label3, "Label3" },
        { lblCoBrand, "lblCoBrand" },
        { Line1, "Line1" },
        { cmdOK, "cmdOK" },
    };
    for (const auto &[control, name] : names)
        control->setObjectName(QLatin1String(name));
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::lblHomePage_Click()
{
    modHelp::OpenHomePage(m_links, m_config);
}

void frmAbout::lblCoBrand_Click()
{
    // The about box's label leads to the branded editions, unlike its namesake on the main window.
    modHelp::OpenFullBrandPage(m_links, m_config);
}

#include "frmapropos.h"

#include "sysinfo.h"

#include "common/apptexts.h"
#include "common/objectnames.h"
#include "ui/rendersvg.h"
#include "ui/svgdrawing.h"
#include "platform/messageboxes.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QWindow>

#include <cmath>

const QString frmApropos::Auteur = QStringLiteral("l'équipe Plumalin");
const QString frmApropos::SiteWeb = QStringLiteral("plumalin.example.org");
const QString frmApropos::Email = QStringLiteral("contact@plumalin.example.org");

namespace {
QLabel *makeLabel(QWidget *parent, const QRect &geometry)
{
    auto *label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}
}

frmApropos::frmApropos(MessageBoxes &messages, SystemTools &system, QWidget *mainWindow)
    : QDialog(mainWindow,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_messages(messages)
    , m_system(system)
    , m_mainWindow(mainWindow)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(pixels(4515), pixels(3045));
    // The texts are laid out at fixed pixel sizes: a narrow 8-point face keeps each credit
    // line on its line, whatever the desktop's own font.
    QFont boxFont(QStringLiteral("Liberation Sans"));
    boxFont.setPointSize(8);
    setFont(boxFont);

    picIcon = new QLabel(this);
    picIcon->setGeometry(twipsRect(90, 135, 1410, 1200));
    const auto logo = loadSvgFile(QStringLiteral(":/pictures/about_logo.svg"));
    picIcon->setPixmap(renderSvg(*logo, picIcon->size(), devicePixelRatioF()));

    lblTitle = makeLabel(this, twipsRect(1560, 135, 2850, 255));
    QPalette black = lblTitle->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblTitle->setPalette(black);

    lblVersion = makeLabel(this, twipsRect(1575, 360, 2850, 225));

    lblDescription = makeLabel(this, twipsRect(1530, 675, 2895, 1830));
    QPalette blue = lblDescription->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    lblDescription->setPalette(blue);
    // The addresses can be selected and copied, but the box opens nothing by itself.
    lblDescription->setTextInteractionFlags(Qt::TextSelectableByMouse);

    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setGeometry(twipsRect(1890, 2610, 1245, 345));
    cmdSysInfo->setAutoDefault(false);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setGeometry(twipsRect(3180, 2610, 1260, 345));
    cmdOK->setDefault(true);

    nameObjects({{picIcon, "picIcon"}, {lblTitle, "lblTitle"}, {lblVersion, "lblVersion"},
                 {lblDescription, "lblDescription"}, {cmdSysInfo, "cmdSysInfo"}, {cmdOK, "cmdOK"}});

    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmApropos::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmApropos::cmdSysInfo_Click);

    Form_Load();
}

frmApropos::~frmApropos() = default;

void frmApropos::Form_Load()
{
    // Still hidden here: the box is shown only once placed and filled.
    centrer();
    setWindowTitle(AppTexts::Title);
    lblVersion->setText(QStringLiteral("Par ") + Auteur + QStringLiteral(", le 15 Nov 1999"));
    lblTitle->setText(AppTexts::Title + QStringLiteral(" v")
                      + QString::number(AppTexts::VersionMajor) + QLatin1Char('.')
                      + QString::number(AppTexts::VersionMinor) + QLatin1Char('.')
                      + QString::number(AppTexts::VersionRevision));
    lblDescription->setText(
        QStringLiteral("Progrmmes d 'aide pédagogique pour Ecole primaire.") + QLatin1Char('\n')
        + QLatin1Char('\n') + QStringLiteral("Distribué sur ") + SiteWeb + QLatin1Char('\n')
        + QStringLiteral("Email : ") + Email);
}

void frmApropos::centrer()
{
    if (!m_mainWindow)
        return;
    m_centredWithFrame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    // Outer sizes on both sides, so that the box's frame is centred on the main window's.
    const QRect main = m_mainWindow->frameGeometry();
    const QRect box = frameGeometry();
    const double left = main.x() + (main.width() - box.width()) / 2.0;
    const double top = main.y() + (main.height() - box.height()) / 2.0;
    move(int(std::floor(left + 0.5)), int(std::floor(top + 0.5)));
}

void frmApropos::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    centrer();
}

void frmApropos::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centrer();
}

bool frmApropos::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    // The window manager's frame is known only once it has framed the box, after the box was
    // shown: centred again with it then, so that the whole framed box is centred. The person
    // moving the box changes no frame and is never fought.
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Expose:
    case QEvent::WindowStateChange:
        if (windowHandle() && windowHandle()->frameMargins() != m_centredWithFrame)
            centrer();
        break;
    default:
        break;
    }
    return handled;
}

void frmApropos::cmdOK_Click()
{
    close();
}

void frmApropos::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmApropos::StartSysInfo()
{
    if (SysInfo::StartSysInfo(m_system))
        return;
    m_messages.tell(this, MessageBoxes::NoIcon, AppTexts::Title,
                             QStringLiteral("Les informations systèmes ne sont pas disponible "
                                            "actuellement!"));
}

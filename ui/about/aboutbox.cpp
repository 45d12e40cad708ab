#include "ui/about/aboutbox.h"

#include "quantixversion.h"
#include "engine/stringtable.h"
#include "ui/common/uisupport.h"
#include "ui/common/windowgeometry.h"

#include "ui_frmAbout.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSysInfo>
#include <QTimer>

#include <utility>

namespace quantix {

namespace {

// The box's outer sizes in twips; the client area is what the border and
// the caption leave of them. Where the desktop's font needs more room the box
// grows to what its texts need.
constexpr int outerWidth = 3800;
constexpr int splashHeight = 2385;
constexpr int borderTwips = 2 * 4 * twipsPerPixel;
constexpr int captionTwips = 26 * twipsPerPixel;

// How long the splash waits for the window system to put it on screen.
constexpr int exposeBoundMs = 1000;

QSize clientSize(int outerHeight)
{
    return {twipsToPixels(outerWidth - borderTwips), twipsToPixels(outerHeight - borderTwips - captionTwips)};
}

// The system the program runs on, by the name its kernel is known under;
// a kernel not listed gives the name of the system itself.
QString systemName()
{
    static constexpr std::pair<const char *, const char *> kernels[] = {
        {"linux", "Linux"}, {"winnt", "Windows"}, {"darwin", "macOS"},
        {"freebsd", "FreeBSD"}, {"netbsd", "NetBSD"}, {"openbsd", "OpenBSD"},
    };
    const QString kernel = QSysInfo::kernelType();
    for (const auto &[type, name] : kernels) {
        if (kernel == QLatin1String(type))
            return QString::fromLatin1(name);
    }
    return QSysInfo::prettyProductName();
}

}

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_ui(std::make_unique<Ui::frmAbout>())
{
    m_ui->setupUi(this);
    m_designSize = {clientSize(splashHeight).width(), height()};
    setAttribute(Qt::WA_DeleteOnClose, false);
    setProgramIcon(this);
    m_ui->Image1->setPixmap(windowIcon().pixmap(32, 32));
    setWindowTitle(str(300));
    m_ui->lblTitle->setText(titleText());
    m_ui->lblCopyright->setText(QString::fromUtf8(version::legalNotice));
    m_ui->cmdOK->setText(str(154));
    // Centred at the about box's size, which the splash keeps the width of.
    setFixedSize(aboutSize());
    CentreWindow(this);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

AboutBox::~AboutBox() = default;

// The about box's 2925 twips of outer height would end at the OK button's
// last row under a caption of today's height: the form's design ends below
// the button instead, by the margin the title has above it. The splash ends
// above the button.
QSize AboutBox::aboutSize()
{
    m_ui->cmdOK->show();
    return sizeForContents(this, m_designSize);
}

QSize AboutBox::splashSize()
{
    m_ui->cmdOK->hide();
    return sizeForContents(this, {width(), clientSize(splashHeight).height()});
}

QString AboutBox::titleText()
{
    return str(301).arg(systemName()) + u'\n' + str(306) + QString::number(version::major) + u'.' + QString::number(version::minor) + u'.'
        + QString::number(version::revision);
}

// A window manager maps a window some time after show(); painted before
// that, the splash would stay an empty frame while the caller goes on with
// its start-up work without processing events.
void AboutBox::paintOnceExposed()
{
    QElapsedTimer waited;
    waited.start();
    QTimer wake;  // WaitForMoreEvents returns at least this often
    wake.start(10);
    // The exposure maps the widget and paints it.
    while (!testAttribute(Qt::WA_Mapped) && !waited.hasExpired(exposeBoundMs))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::ExcludeUserInputEvents);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void AboutBox::ShowAbout(int Typ)
{
    if (Typ == 1) {
        setFixedSize(splashSize());
        setWindowTitle(str(73));
        setModal(false);
        show();
        paintOnceExposed();
        return;
    }
    setFixedSize(aboutSize());
    setWindowTitle(str(300));
    exec();
}

}

#include "platform/standardicons.h"

#include "ui/svgicon.h"

#include <QByteArray>

namespace {
using SP = QStyle;

// Drawn on a 16-unit square with 1-unit lines on half units, so that they stay sharp at 16 px,
// the size of a list's icons; the message boxes' on a 32-unit square, for their 32 to 64 px.
QByteArray svg(const QByteArray &body, int box = 16)
{
    const QByteArray side = QByteArray::number(box);
    return "<svg xmlns='http://www.w3.org/2000/svg' width='" + side + "' height='" + side
           + "' viewBox='0 0 " + side + ' ' + side + "'>" + body + "</svg>";
}

// A drawing turned about the middle of the square, or mirrored left to right.
QByteArray turned(const QByteArray &body, int degrees)
{
    return "<g transform='rotate(" + QByteArray::number(degrees) + " 8 8)'>" + body + "</g>";
}
QByteArray mirrored(const QByteArray &body)
{
    return "<g transform='matrix(-1 0 0 1 16 0)'>" + body + "</g>";
}

const QByteArray Outline = "stroke-linejoin='round' stroke-linecap='round'";

const QByteArray FolderBack =
    "<path d='M1.5 13.5V3.5h4.5l1.5 1.5h7v8.5z' fill='#e3a82b' stroke='#9c6b12' " + Outline + "/>";
const QByteArray FolderClosed =
    FolderBack + "<path d='M1.5 13.5V6.5h13v7z' fill='#f7cd5d' stroke='#9c6b12' " + Outline + "/>";
const QByteArray FolderOpen =
    FolderBack + "<path d='M1.5 13.5l2.2-6h12l-2.2 6z' fill='#fbdc84' stroke='#9c6b12' " + Outline
    + "/>";
const QByteArray Page =
    "<path d='M3.5 1.5h6l3 3v10h-9z' fill='#ffffff' stroke='#5f6f80' " + Outline + "/>"
    "<path d='M9.5 1.5v3h3' fill='#dfe5ec' stroke='#5f6f80' " + Outline + "/>"
    "<path d='M5.5 7.5h5M5.5 9.5h5M5.5 11.5h3' stroke='#8fa0b2' stroke-linecap='round'/>";
// A shortcut's mark, in the lower left corner: a curved arrow on a white tag.
const QByteArray LinkMark =
    "<rect x='0.5' y='8.5' width='7' height='7' rx='1.5' fill='#ffffff' stroke='#2d64b3'/>"
    "<path d='M2.5 13.5v-1a2.5 2.5 0 0 1 2.5-2.5h.5' fill='none' stroke='#2d64b3' "
    "stroke-width='1.3' stroke-linecap='round'/>"
    "<path d='M5 8.4l1.9 1.6L5 11.6z' fill='#2d64b3'/>";
// A round green button with a white arrow pointing left, as the other arrows are turned.
const QByteArray ArrowLeft =
    "<circle cx='8' cy='8' r='6.8' fill='#3a9a47' stroke='#25713a'/>"
    "<path d='M11.6 8H5M8 4.7L4.7 8 8 11.3' fill='none' stroke='#ffffff' stroke-width='2' "
    + Outline + "/>";
const QByteArray Check = "<path d='M2.5 8.5l3.5 3.5 7.5-8.5' fill='none' stroke='#2b8a3a' "
                         "stroke-width='2.4' " + Outline + "/>";
QByteArray cross(const QByteArray &colour, const QByteArray &width = "2.4")
{
    return "<path d='M3.5 3.5l9 9M12.5 3.5l-9 9' fill='none' stroke='" + colour
           + "' stroke-width='" + width + "' stroke-linecap='round'/>";
}
const QByteArray Screen = "<rect x='1.5' y='1.5' width='13' height='9.5' rx='1' fill='#4b5b6b' "
                          "stroke='#2f3b47'/>";
const QByteArray Floppy =
    "<path d='M2.5 2.5h9.5l1.5 1.5v9.5h-11z' fill='#3f6fb5' stroke='#244a80' " + Outline + "/>"
    "<rect x='4.5' y='2.5' width='6' height='4' fill='#d5dde6' stroke='#244a80'/>"
    "<rect x='8' y='3.3' width='1.5' height='2.4' fill='#3f6fb5'/>"
    "<rect x='4.5' y='9' width='7' height='4.5' fill='#ffffff' stroke='#244a80'/>";
const QByteArray Drive =
    "<rect x='1.5' y='5.5' width='13' height='6' rx='1.5' fill='#c9d1d9' stroke='#56636f'/>"
    "<path d='M3.5 8.5h6' stroke='#8594a3' stroke-linecap='round'/>"
    "<circle cx='12' cy='8.5' r='1.1' fill='#35b04a'/>";
QByteArray disc(const QByteArray &colour)
{
    return "<circle cx='8' cy='8' r='6.5' fill='" + colour + "' stroke='#6b7480'/>"
           "<path d='M4.2 6.2a4.2 4.2 0 0 1 3.3-2.6' fill='none' stroke='#ffffff' "
           "stroke-linecap='round'/>"
           "<circle cx='8' cy='8' r='1.8' fill='#ffffff' stroke='#6b7480'/>";
}
const QByteArray Bin =
    "<path d='M3.5 4.5h9l-.9 10h-7.2z' fill='#c7d0d9' stroke='#52606d' " + Outline + "/>"
    "<path d='M2 4.5h12M6.5 4.5V2.5h3v2' fill='none' stroke='#52606d' " + Outline + "/>"
    "<path d='M6.5 6.5v6M9.5 6.5v6' stroke='#7d8b98' stroke-linecap='round'/>";
// An inner window's buttons: dark marks, as on the desktop's own title bars.
QByteArray windowMark(const QByteArray &body)
{
    return "<g fill='none' stroke='#2f3b47' stroke-width='1.5' " + Outline + ">" + body + "</g>";
}
const QByteArray Chevrons =
    "<path d='M4 4l4 4-4 4M8.5 4l4 4-4 4' fill='none' stroke='#2f3b47' stroke-width='1.5' "
    + Outline + "/>";

QByteArray drawing(QStyle::StandardPixmap which, bool rightToLeft, bool open)
{
    const auto arrow = [](int degrees) { return svg(turned(ArrowLeft, degrees)); };
    switch (which) {
    // The message boxes'.
    case SP::SP_MessageBoxInformation:
        return svg("<circle cx='16' cy='16' r='14' fill='#2f7fd8' stroke='#1d5aa3' "
                   "stroke-width='1.5'/><circle cx='16' cy='9.3' r='2.3' fill='#ffffff'/>"
                   "<rect x='14' y='13.3' width='4' height='11.5' rx='1.6' fill='#ffffff'/>",
                   32);
    case SP::SP_MessageBoxWarning:
        return svg("<path d='M16 2.8L30 27.6H2z' fill='#f6c431' stroke='#a87a06' "
                   "stroke-width='1.5' " + Outline + "/>"
                   "<rect x='14.4' y='10.2' width='3.2' height='10.3' rx='1.5' fill='#3b2f05'/>"
                   "<circle cx='16' cy='23.6' r='1.9' fill='#3b2f05'/>",
                   32);
    case SP::SP_MessageBoxCritical:
        return svg("<circle cx='16' cy='16' r='14' fill='#d83a2f' stroke='#a1261d' "
                   "stroke-width='1.5'/><path d='M10.5 10.5l11 11M21.5 10.5l-11 11' "
                   "stroke='#ffffff' stroke-width='3.6' stroke-linecap='round'/>",
                   32);
    case SP::SP_MessageBoxQuestion:
        return svg("<circle cx='16' cy='16' r='14' fill='#7553c4' stroke='#533494' "
                   "stroke-width='1.5'/><path d='M11.6 12.2a4.5 4.5 0 1 1 6.5 4c-1.4.8-2.1 "
                   "1.6-2.1 3.1v.9' fill='none' stroke='#ffffff' stroke-width='3.2' "
                   "stroke-linecap='round'/><circle cx='16' cy='24.6' r='2' fill='#ffffff'/>",
                   32);

    // Places and files.
    case SP::SP_DirIcon:
    case SP::SP_DirClosedIcon:
        return svg(open ? FolderOpen : FolderClosed);
    case SP::SP_DirOpenIcon:
        return svg(FolderOpen);
    case SP::SP_DirLinkIcon:
        return svg((open ? FolderOpen : FolderClosed) + LinkMark);
    case SP::SP_DirLinkOpenIcon:
        return svg(FolderOpen + LinkMark);
    case SP::SP_FileIcon:
        return svg(Page);
    case SP::SP_FileLinkIcon:
        return svg(Page + LinkMark);
    case SP::SP_DirHomeIcon:
        return svg("<path d='M3.5 7.5v7h9v-7' fill='#f6e6c0' stroke='#7a5a2a' " + Outline + "/>"
                   "<path d='M6.8 14.5v-4h2.4v4' fill='#b5652b' stroke='#7a5a2a' " + Outline
                   + "/><path d='M1.5 8.5L8 2l6.5 6.5' fill='none' stroke='#c0392b' "
                     "stroke-width='1.8' " + Outline + "/>");
    case SP::SP_DesktopIcon:
        return svg(Screen + "<rect x='3' y='3' width='10' height='6.5' fill='#8fd0f5'/>"
                   "<path d='M3 9.5v-2c2-1.6 4-1.6 6 0 1.4-1 2.8-1.2 4-.4v2.4z' fill='#4caf50'/>"
                   "<circle cx='11' cy='5' r='1.1' fill='#ffd54a'/>"
                   "<path d='M6 14.5h4M8 11v3.5' stroke='#2f3b47' stroke-width='1.5' "
                   "stroke-linecap='round'/>");
    case SP::SP_ComputerIcon:
        return svg(Screen + "<rect x='3' y='3' width='10' height='6.5' fill='#bfe6fb'/>"
                   "<path d='M4.5 5h4M4.5 7h6' stroke='#6aa6c8' stroke-linecap='round'/>"
                   "<rect x='2.5' y='12.5' width='11' height='2' rx='.8' fill='#c9d1d9' "
                   "stroke='#56636f'/>");
    case SP::SP_TrashIcon:
        return svg(Bin);
    case SP::SP_DriveHDIcon:
        return svg(Drive);
    case SP::SP_DriveNetIcon:
        return svg("<g transform='translate(0 -3)'>" + Drive + "</g>"
                   "<path d='M8 8.5v4M2.5 14.5h11' stroke='#56636f' stroke-linecap='round'/>"
                   "<rect x='6.5' y='12.5' width='3' height='3' fill='#2d64b3'/>");
    case SP::SP_DriveFDIcon:
        return svg(Floppy);
    case SP::SP_DriveCDIcon:
        return svg(disc("#dfe4ea"));
    case SP::SP_DriveDVDIcon:
        return svg(disc("#d9cdf2"));

    // The file dialog's buttons.
    case SP::SP_ArrowLeft:
        return arrow(0);
    case SP::SP_ArrowUp:
    case SP::SP_FileDialogToParent:
        return arrow(90);
    case SP::SP_ArrowRight:
        return arrow(180);
    case SP::SP_ArrowDown:
        return arrow(270);
    case SP::SP_ArrowBack:
    case SP::SP_FileDialogBack:
        return arrow(rightToLeft ? 180 : 0);
    case SP::SP_ArrowForward:
        return arrow(rightToLeft ? 0 : 180);
    case SP::SP_FileDialogNewFolder:
        return svg("<g transform='translate(0 1)'>" + FolderClosed + "</g>"
                   "<circle cx='12' cy='4.5' r='3.8' fill='#3a9a47' stroke='#ffffff'/>"
                   "<path d='M12 2.5v4M10 4.5h4' stroke='#ffffff' stroke-width='1.5' "
                   "stroke-linecap='round'/>");
    case SP::SP_FileDialogListView:
        return svg("<g fill='#6d9be0' stroke='#2d64b3'>"
                   "<rect x='1.5' y='1.5' width='5' height='5' rx='1'/>"
                   "<rect x='9.5' y='1.5' width='5' height='5' rx='1'/>"
                   "<rect x='1.5' y='9.5' width='5' height='5' rx='1'/>"
                   "<rect x='9.5' y='9.5' width='5' height='5' rx='1'/></g>");
    case SP::SP_FileDialogDetailedView:
        return svg("<g fill='#6d9be0' stroke='#2d64b3'>"
                   "<rect x='1.5' y='1.5' width='3' height='3'/>"
                   "<rect x='1.5' y='6.5' width='3' height='3'/>"
                   "<rect x='1.5' y='11.5' width='3' height='3'/></g>"
                   "<path d='M7 3h7.5M7 8h7.5M7 13h7.5' stroke='#2f3b47' stroke-width='1.5' "
                   "stroke-linecap='round'/>");

    // The dialog buttons'.
    case SP::SP_DialogOkButton:
    case SP::SP_DialogYesButton:
    case SP::SP_DialogApplyButton:
        return svg(Check);
    case SP::SP_DialogCancelButton:
        return svg(cross("#d0392b"));
    case SP::SP_DialogNoButton:
        return svg("<circle cx='8' cy='8' r='5.8' fill='none' stroke='#d0392b' "
                   "stroke-width='2'/><path d='M4 12L12 4' stroke='#d0392b' stroke-width='2'/>");
    case SP::SP_DialogCloseButton:
        return svg(cross("#52606d"));
    case SP::SP_DialogDiscardButton:
        return svg(Bin);
    case SP::SP_DialogOpenButton:
        return svg(FolderOpen);
    case SP::SP_DialogSaveButton:
        return svg(Floppy);
    case SP::SP_DialogHelpButton:
        return svg("<circle cx='8' cy='8' r='6.8' fill='#2f7fd8' stroke='#1d5aa3'/>"
                   "<path d='M5.9 6.2a2.1 2.1 0 1 1 3 1.9c-.6.4-.9.8-.9 1.5v.3' fill='none' "
                   "stroke='#ffffff' stroke-width='1.7' stroke-linecap='round'/>"
                   "<circle cx='8' cy='12.2' r='1' fill='#ffffff'/>");
    case SP::SP_DialogResetButton:
        return svg("<path d='M12.6 9.2A4.8 4.8 0 1 1 11 4.4' fill='none' stroke='#2d64b3' "
                   "stroke-width='2' stroke-linecap='round'/><path d='M13.4 1.8v4.6H8.8z' "
                   "fill='#2d64b3'/>");
    case SP::SP_LineEditClearButton:
        return svg("<circle cx='8' cy='8' r='6' fill='#8594a3'/>"
                   "<path d='M5.6 5.6l4.8 4.8M10.4 5.6l-4.8 4.8' stroke='#ffffff' "
                   "stroke-width='1.6' stroke-linecap='round'/>");

    // An inner window's buttons, and the bar's button for what does not fit.
    case SP::SP_TitleBarMinButton:
        return svg(windowMark("<path d='M4 11.5h8'/>"));
    case SP::SP_TitleBarMaxButton:
        return svg(windowMark("<rect x='3.5' y='3.5' width='9' height='9'/><path d='M3.5 5h9'/>"));
    case SP::SP_TitleBarNormalButton:
        return svg(windowMark("<rect x='3' y='6' width='7' height='7'/>"
                              "<path d='M6 4V3h7v7h-1'/>"));
    case SP::SP_TitleBarCloseButton:
    case SP::SP_DockWidgetCloseButton:
    case SP::SP_TabCloseButton:
        return svg(windowMark("<path d='M4 4l8 8M12 4l-8 8'/>"));
    case SP::SP_TitleBarShadeButton:
        return svg(windowMark("<path d='M4 10l4-4 4 4'/>"));
    case SP::SP_TitleBarUnshadeButton:
        return svg(windowMark("<path d='M4 6l4 4 4-4'/>"));
    case SP::SP_TitleBarContextHelpButton:
        return svg(windowMark("<path d='M5.6 5.8a2.4 2.4 0 1 1 3.4 2.2c-.7.4-1 .9-1 1.7v.5'/>"
                              "<path d='M8 13v.1'/>"));
    case SP::SP_ToolBarHorizontalExtensionButton:
        return svg(rightToLeft ? mirrored(Chevrons) : Chevrons);
    case SP::SP_ToolBarVerticalExtensionButton:
        return svg(turned(Chevrons, 90));
    default:
        return {};
    }
}

} // namespace

QIcon drawnStandardIcon(QStyle::StandardPixmap which, Qt::LayoutDirection direction)
{
    const bool rightToLeft = direction == Qt::RightToLeft;
    const QByteArray closed = drawing(which, rightToLeft, false);
    if (closed.isEmpty())
        return {};
    QByteArray open = drawing(which, rightToLeft, true);
    if (open == closed)
        open.clear();
    return svgIconFromText(closed, open, {QSize(16, 16), QSize(22, 22), QSize(32, 32),
                                          QSize(48, 48), QSize(64, 64)});
}

QList<QStyle::StandardPixmap> drawnStandardIcons()
{
    QList<QStyle::StandardPixmap> drawn;
    for (int which = 0; which <= int(QStyle::SP_TabCloseButton); ++which) {
        if (!drawing(QStyle::StandardPixmap(which), false, false).isEmpty())
            drawn.append(QStyle::StandardPixmap(which));
    }
    return drawn;
}

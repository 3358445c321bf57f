#include "pages/AdvertTemplates.h"

namespace quillmere {

// Both boxes are fixed HTML that the maker's pages and server know as they are.

const std::string_view kAdvertTemplate =
    "<FONT face=Verdana><P align=center> <TABLE style=\"BORDER-RIGHT: rgb(0,0,0) 2px solid; "
    "BORDER-TOP: rgb(0,0,0) 2px solid; BORDER-LEFT: rgb(0,0,0) 2px solid; BORDER-BOTTOM: "
    "rgb(0,0,0) 2px solid\" cellSpacing=0 cellPadding=0 width=550 align=center border=0> "
    "<TBODY> <TR> <TD align=middle> <TABLE> <TBODY> <TR> <TD> <DIV align=left><BR><STRONG>"
    "<FONT size=2>Please check out our latest offer...</FONT></STRONG></DIV><STRONG><FONT "
    "color=#800080> <DIV align=center><BR></FONT></STRONG><BR><FONT color=#0000ff size=5>"
    "<STRONG>RVX_QSADVERT_TITLE</STRONG></FONT></DIV> <DIV align=center>&nbsp;</DIV> <DIV "
    "align=center><STRONG><FONT color=#c80000 size=5></FONT></STRONG>"
    "&nbsp;RVX_QSADVERT_IMAGE</DIV> <P align=left> <TABLE style=\"WIDTH: 517px; HEIGHT: 22px\" "
    "cellSpacing=0 cellPadding=0 align=center border=0 removeborder> <TBODY> <TR> <TD><FONT "
    "size=2>RVX_QSADVERT_TEXT</FONT></TD></TR></TBODY></TABLE></P></TD></TR></TBODY></TABLE> "
    "<P><FONT size=3><B><A href=\"RVX_QSADVERT_LINK\" target=_blank>Click Here Now For "
    "Details</A><BR><BR></B></FONT></TD></TR></TBODY></TABLE></P></FONT>";

const std::string_view kUpdateNoticeTemplate =
    "<FONT face=Verdana><P align=center><TABLE style=\"BORDER-RIGHT: rgb(0,0,0) 2px solid; "
    "BORDER-TOP: rgb(0,0,0) 2px solid; BORDER-LEFT: rgb(0,0,0) 2px solid; BORDER-BOTTOM: "
    "rgb(0,0,0) 2px solid\" cellSpacing=0 cellPadding=0 width=550 align=center border=0> "
    "<TBODY> <TR> <TD align=middle> <TABLE> <TBODY> <TR> <TD><DIV align=center><BR><FONT "
    "color=#0000ff size=4><STRONG>A New Version Of This Software Is Available</STRONG></FONT>"
    "</DIV> <DIV align=center>&nbsp;</DIV> <DIV align=center><STRONG><FONT color=#c80000 "
    "size=5></FONT></STRONG>&nbsp;</DIV> <P align=left> <TABLE style=\"WIDTH: 517px; HEIGHT: "
    "22px\" cellSpacing=0 cellPadding=0 align=center border=0 removeborder> <TBODY> <TR> <TD>"
    "<FONT size=2>There is a new version of this software available for download. This may "
    "contain bug fixes or enhancements. It is recommended that you download and use this "
    "version. To download, click the button below the save the software on your PC.</FONT>"
    "</TD></TR></TBODY></TABLE></P></TD></TR></TBODY></TABLE><P>RVX_BUTTON<BR><BR></TD></TR>"
    "</TBODY></TABLE></P></FONT>";

}  // namespace quillmere

// The message catalogue and the detail texts of the compression library and
// the mail interface.
#include "core/errors_text.h"

#include <algorithm>
#include <iterator>

namespace korv {
namespace {

struct NumberedText {
    int number;
    std::string_view text;
};

// Numbers 1..66 are the general library errors, 1001 on the window, dialog,
// editor, grid, bitmap, metafile and interface errors. Kept sorted by number.
constexpr NumberedText catalogue[] = {
    {1, "Error opening file or device"},
    {2, "Error reading/writing file or device"},
    {3, "Error closing file or device"},
    {4, "Number too large in string to numeric conversion"},
    {10, "No substring found"},
    {11, "More than one decimal point in number"},
    {12, "Invalid character detected"},
    {13, "Operating system error"},
    {16, "Graphics unit range is invalid"},
    {18, "Numeric to string conversion error"},
    {20, "Circle/ellipse radius <=0, height ratio<=0 or arc angle=0"},
    {21, "Length of axis-parallel side of a parallelogram is =<0"},
    {22, "Width/height=0 for a rectangle/triangle/parallelogram"},
    {23, "No program name specified to IOsExecute"},
    {25, "Too many bytes in char set during conversion from ASCII"},
    {27, "Image file format not supported"},
    {28, "Borders cross in simple polygon definition"},
    {34, "Requested page size too large for raster image buffer"},
    {39, "Failed to select requested colour"},
    {40, "Number of files matched by IOsDirInfo/List exceeds array size"},
    {42, "Unknown colour name/number specified to IGrColour/IGrColourN"},
    {43, "Contour heights must increase monotonically"},
    {44, "Invalid X and/or Y range in IGrArea/IGrViewport/IGrReplayArea"},
    {46, "No graphics hardcopy driver currently selected"},
    {49, "Fill too complex in IGrPolygonComplex"},
    {54, "Mismatched driver/device in hardcopy options file"},
    {55, "Source and target file names same in copy command"},
    {58, "Min value greater than max value in IPgHighLow"},
    {63, "Windows printer not available"},
    {64, "Bit image transfer failed in IGrPrintImage"},
    {66, "Invalid character code in WGrTextWidth"},
    {1001, "Invalid menu item"},
    {1002, "Unable to load menu from resource"},
    {1003, "Invalid window handle"},
    {1004, "General error in common dialog"},
    {1005, "No dialog currently selected"},
    {1006, "Invalid field identifier"},
    {1007, "Dialog not present in resource - unable to load"},
    {1008, "Unable to select specified dialog"},
    {1009, "Attempt to store an out of range dialog field value"},
    {1010, "Field value undefined"},
    {1011, "Option number out of range or invalid item ID"},
    {1012, "Invalid tab number specified"},
    {1013, "Invalid range specified for progress bar"},
    {1014, "Invalid dialog mode"},
    {1015, "Invalid bitmap/icon/metafile identifier"},
    {1016, "Unable to display window/dialog. Parent window hidden"},
    {1017, "Cell co-ordinates out of range"},
    {1018, "Grid size limits exceeded"},
    {1019, "Invalid target drawing surface"},
    {1020, "Bitmap creation failed"},
    {1021, "Invalid bitmap handle"},
    {1022, "Only child windows can be converted into editors or viewers"},
    {1023, "Variable too small to receive text"},
    {1024, "Invalid editor mode"},
    {1025, "Editor can't have menu in InsideParent child window"},
    {1026, "User menu not supported with modal editor or grid window"},
    {1027, "General problem initializing editor"},
    {1028, "Current window is not a text editor"},
    {1029, "Invalid range specified for trackbar"},
    {1030, "General help viewer error"},
    {1031, "Not a valid help file extension"},
    {1032, "Editor does not have a command line"},
    {1033, "Editor can't have command line in InsideParent child window"},
    {1034, "External process timed out before completion"},
    {1035, "Failed to enable OpenGL graphics"},
    {1036, "Cannot destroy bitmap while in use by bitmap viewer"},
    {1037, "Specified bitmap is already in use"},
    {1038, "Window is already converted to a different type"},
    {1039, "Invalid bitmap viewer mode"},
    {1040, "General problem initializing bitmap viewer"},
    {1041, "X server modal dialog/window pixmap resources are low"},
    {1042, "X server modal dialog/window pixmap resources are exhausted"},
    {1043, "Invalid bitmap bitwise mode"},
    {1044, "Zlib compression/decompression error"},
    {1045, "Specified dialog has wrong style to be combined with a window"},
    {1046, "Parent window is combined with a dialog"},
    {1047, "Current dialog which is combined with a window"},
    {1048, "Item identifier already exists in treeview field"},
    {1049, "Treeview item is not a branch"},
    {1050, "Invalid pre-defined registry key"},
    {1051, "Grid window can't have menu in InsideParent child window"},
    {1052, "Invalid grid window mode"},
    {1053, "General problem initializing grid window"},
    {1054, "Data file contains more rows or columns than grid field"},
    {1055, "Unable to match value from file with menu cell option"},
    {1056, "Parent window is converted to a special type"},
    {1057, "Cannot convert window when InsideParent windows exist"},
    {1058, "No name specified for user-defined font"},
    {1059, "Metafile creation failed"},
    {1060, "Invalid metafile handle"},
    {1061, "Unsupported metafile format"},
    {1062, "CGM memory metafile full"},
    {1063, "Cannot save image when drawable is a metafile"},
    {1064, "Cannot print image when drawable is a metafile"},
    {1065, "Bitmap operation on memory metafile not allowed"},
    {1066, "Error during bitmap put/get operation"},
    {1067, "Invalid editor buffer"},
    {1068, "No more editor buffers available"},
    {1069, "Cannot hide or unload a sub-dialog"},
    {1070, "Cannot set format in non-RTF editor window"},
    {1071, "Graphical input not allowed in memory bitmap/metafile"},
    {1072, "API error during bit image save"},
    {1073, "3D model vertex limit exceeded. Increase MAXVERTEX."},
    {1074, "3D model facet limit exceeded. Increase MAXFACET."},
    {1075, "3D model material number invalid"},
    {1076, "3D model workspace full. Increase MAXWORK."},
    {1077, "3D model internal error: Workspace empty."},
    {1078, "Unsupported 3D model file format"},
    {1079, "Insufficient space to add data from 3D model file"},
    {1080, "Unable to add one or more materials from a 3D model file"},
    {1081, "HTML Help support DLL (ZERARI/ZERARI64) not found"},
    {1082, "MAPI32.DLL not found. Unable to send e-mail"},
    {1083, "Error invoking e-mail program"},
    {1084, "Error encoding e-mail attachments"},
    {1085, "At least one e-mail recipient must be specified"},
    {1086, "Unsupported or invalid .wav sound file"},
    {1087, "Too many dialogs"},
    {1088, "Error during dialog creation"},
    {1089, "Facet polygon too large in 3D model"},
    {1090, "Invalid bitmap rotation angle"},
    {1091, "Dialog is already loaded"},
    {1092, "Editor does not have a command history"},
    {1093, "Unable to locate home directory"},
    {1094, "Error accessing the clipboard"},
    {1095, "Clipboard data type mismatch"},
    {1096, "Current window is not a special purpose window"},
    {1097, "Current drawable cannot display a cursor"},
    {1098, "ODBC interface not initialised"},
    {1099, "Specified database record does not exist"},
    {1100, "Invalid database handle"},
    {1101, "Too many parts in 3D model"},
    {1102, "3D model part number invalid"},
    {1103, "3D model vertex number invalid"},
    {1104, "Part definitions not contiguous in 3D DXF file"},
    {1105, "3D model facet number invalid"},
    {1106, "SQL statement execution failed"},
    {1107, "Invalid bitmap stretch mode"},
    {1108, "Fetching a rowset failed in ODBC interface"},
    {1109, "Image size too large"},
    {1110, "Database value(s) undefined"},
    {1111, "Grid column type mismatch"},
    {1112, "Badly formed 3D model facet"},
    {1113, "Invalid number of grid rows"},
    {1114, "Error in call to ALSA sound api"},
    {1115, "Editor font not found"},
    {1116, "Invalid editor font number"},
};

// Return codes of zlib's one-call compression and decompression.
constexpr NumberedText compression_texts[] = {
    {1, "stream end"},
    {2, "need dictionary"},
    {-1, "file error"},
    {-2, "stream error"},
    {-3, "data error"},
    {-4, "insufficient memory"},
    {-5, "buffer error"},
    {-6, "incompatible version"},
};

// Return codes of MAPISendMail.
constexpr NumberedText mail_texts[] = {
    {1, "The user canceled one of the dialog boxes. No message was sent."},
    {2, "One or more unspecified errors occurred. No message was sent."},
    {3, "There was no default logon, and the user failed to log on successfully when the logon dialog box was displayed. No message was sent."},
    {5, "There was insufficient memory to proceed. No message was sent."},
    {9, "There were too many file attachments. No message was sent."},
    {10, "There were too many recipients. No message was sent."},
    {11, "The specified attachment was not found. No message was sent."},
    {12, "The specified attachment could not be opened. No message was sent."},
    {14, "A recipient did not appear in the address list. No message was sent."},
    {15, "The type of a recipient was not MAPI_TO, MAPI_CC, or MAPI_BCC. No message was sent."},
    {18, "The text in the message was too large. No message was sent."},
    {21, "A recipient matched more than one of the recipient descriptor structures and MAPI_DIALOG was not set. No message was sent."},
    {25, "One or more recipients were invalid or did not resolve to any address."},
};

template <std::size_t n>
std::string_view find_text(const NumberedText (&table)[n], int number)
{
    const auto it = std::find_if(std::begin(table), std::end(table),
                                 [number](const NumberedText& e) { return e.number == number; });
    return it == std::end(table) ? std::string_view{} : it->text;
}

} // namespace

std::string_view err_catalogue_text(int number)
{
    return find_text(catalogue, number);
}

std::size_t err_catalogue_size()
{
    return std::size(catalogue);
}

std::string_view err_compression_text(int code)
{
    return find_text(compression_texts, code);
}

std::string_view err_mail_text(int code)
{
    return find_text(mail_texts, code);
}

} // namespace korv

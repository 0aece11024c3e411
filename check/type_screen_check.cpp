#include "check/type_screen_check.h"
#include "check/contact_sheet.h"
#include "check/system_message.h"
#include "raster/bitmap_size.h"
#include "raster/picture_bounds.h"
#include "scene/scene.h"
#include "scene/scene_loader.h"
#include "settings/catalogue.h"

#include <algorithm>
#include <vector>

namespace {

const char* moveTypeFieldRole(std::int32_t moveType, PictureField field) {
    switch (field) {
    case PictureField::Wallpaper:
        return "wallpaper picture";
    case PictureField::Background:
        return moveType == MoveSlideShow ? "strip of frames" : "background picture";
    case PictureField::Sprite:
        return "sprite picture";
    case PictureField::SpriteX:
        return "sprite x";
    case PictureField::SpriteY:
        return "sprite y";
    case PictureField::MotionX:
        return moveType == MoveDrift ? "x velocity" : "shortest hop";
    case PictureField::MotionY:
        return moveType == MoveDrift ? "y velocity" : "longest hop";
    case PictureField::KeepInside:
        return "keep inside";
    case PictureField::Waypoints:
        return "waypoints";
    }
    return "field";
}

int fieldNumberOf(std::int32_t moveType, PictureField wanted) {
    const auto layout = pictureFieldLayout(moveType);
    auto at = std::find(layout.begin(), layout.end(), wanted);
    return at == layout.end() ? 0 : static_cast<int>(at - layout.begin()) + 1;
}

// Why the resource folder is the one it is, for a message about a picture not found there.
std::string folderExplanation(const std::string& cataloguePath, const std::string& folder) {
    char configured[520] = "";
    if (!readCatalogueString("General", "ResourcePath", configured, sizeof configured,
                             cataloguePath.c_str()))
        return " (no ResourcePath is set, so the saver looks in the catalogue's own folder)";
    char expanded[520] = "";
    DWORD needed = ExpandEnvironmentStringsA(configured, expanded, sizeof expanded);
    if (needed == 0 || needed > sizeof expanded)
        return std::string(" (ResourcePath \"") + configured +
               "\" expands beyond 519 characters, so the saver looks in the catalogue's own "
               "folder)";
    if (folder == expanded)
        return std::string(" (ResourcePath \"") + configured + "\")";
    return std::string(" (ResourcePath \"") + configured + "\" expands to \"" + expanded +
           "\", which is no folder, so the saver looks in the catalogue's own folder)";
}

std::string pixels(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

const std::string kBound = "more than the saver takes (at most " +
                           std::to_string(kMaxPictureWidth) + " wide, " +
                           std::to_string(kMaxPictureHeight) + " high and " +
                           std::to_string(kMaxPicturePixels) + " pixels in all)";

// Why a picture could not be had, in words.
std::string pictureFailureText(const std::string& cataloguePath, const char* folder,
                               const char* name, const PictureLoadReport& load) {
    const std::string quoted = std::string("\"") + name + "\"";
    const std::string path = std::string(folder) + "\\" + name;
    switch (load.failure) {
    case PictureFailure::CannotOpen: {
        if (load.systemError == ERROR_FILENAME_EXCED_RANGE)
            return "the path of " + quoted + " in \"" + folder + "\" is longer than 519 characters";
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return quoted + " in the resource folder \"" + folder + "\" is a folder, not a picture";
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return quoted + " is not in the resource folder \"" + folder + "\"" +
                   folderExplanation(cataloguePath, folder);
        return quoted + " in \"" + folder +
               "\" cannot be opened: " + systemMessage(load.systemError);
    }
    case PictureFailure::SizeUnreadable:
        return "the size of " + quoted + " cannot be read: " + systemMessage(load.systemError);
    case PictureFailure::Empty:
        return quoted + " is empty";
    case PictureFailure::TooLong:
        return quoted + " is 4 GiB or larger";
    case PictureFailure::OutOfMemory:
        return "there was not memory enough to read " + quoted;
    case PictureFailure::ShortRead:
        return quoted + " could not be read whole: " + systemMessage(load.systemError);
    case PictureFailure::BeyondBound:
        if (load.claim.known)
            return quoted + " claims " + pixels(load.claim.width, load.claim.height) + ": " +
                   kBound;
        return quoted + " decodes to " + pixels(load.decodedWidth, load.decodedHeight) + ": " +
               kBound;
    case PictureFailure::DamagedBitmap:
        return quoted + " is a BMP whose headers claim more than its bytes hold (cut short?)";
    case PictureFailure::NotAPicture:
        return quoted + " is no picture the system decodes (BMP, JPEG or GIF), or a damaged one";
    case PictureFailure::NoBitmap:
        return quoted + " decodes as an icon or a drawing, not as a bitmap";
    case PictureFailure::None:
        break;
    }
    return quoted + " cannot be loaded";
}

std::string scaleFailureText(const char* name, const PictureScale& scale, ScreenSize screen) {
    const std::string start = std::string("scaled from 1024 x 768 to ") + screenName(screen) +
                              ", \"" + name + "\" would be " + pixels(scale.width, scale.height);
    switch (scale.outcome) {
    case PictureScale::ToNothing:
        return start + ": nothing to draw";
    case PictureScale::BeyondBound:
        return start + ": " + kBound;
    default:
        return std::string(1, '"').append(name).append("\" could not be scaled to ") +
               pixels(scale.width, scale.height) + " (not memory enough)";
    }
}

struct Sink {
    CheckReport& report;
    ScreenOutcome& outcome;
    int type;
    std::string where;
    int line;

    void add(Severity severity, const std::string& text, int atLine = -1) {
        Problem problem;
        problem.severity = severity;
        problem.line = atLine < 0 ? line : atLine;
        problem.where = where;
        problem.text = text;
        problem.type = type;
        problem.screens = {outcome.screen};
        report.add(std::move(problem));
        (severity == Severity::Error ? outcome.errors : outcome.warnings) += 1;
    }
    void error(const std::string& text, int atLine = -1) {
        add(Severity::Error, text + ": the saver shows the notice", atLine);
    }
    void warning(const std::string& text) { add(Severity::Warning, text); }
};

void reportSetupFault(const std::string& cataloguePath, const CatalogueLines& lines,
                      const TypeOutcome& type, const SceneSetup& setup, ScreenSize screen,
                      Sink& sink) {
    const PictureParameters& p = setup.parameters;
    switch (setup.fault) {
    case SetupFault::None:
    case SetupFault::NoScreen:
        sink.error("the screen size has no pixels");
        return;
    case SetupFault::TypeAbsent:
        sink.where = "[" + type.section + "]";
        switch (setup.lookup) {
        case TypeLookup::NoName:
            sink.error("the type has no Name, so the settings do not list it; chosen all the same",
                       lines.lineOf(type.section));
            return;
        case TypeLookup::NoMoveType:
            sink.error("the type has no MoveType (or one written as 305419896, which reads as "
                       "none), so the settings do not list it; chosen all the same",
                       lines.lineOf(type.section, "MoveType"));
            return;
        default: {
            char key[32];
            fileKeyName(screen.width, screen.height, key);
            sink.error(std::string("the type has neither ") + key +
                           " nor File.1024x0768, so it cannot run on screens without a File key "
                           "of their own",
                       lines.lineOf(type.section));
            return;
        }
        }
    case SetupFault::UnknownMoveType:
        sink.where = "[" + type.section + "] MoveType";
        sink.error("move type " + std::to_string(setup.moveType) +
                       " is unknown (0 slide show, 1 drift, 2 random hop, 3 clock, 4 waypoints)",
                   lines.lineOf(type.section, "MoveType"));
        return;
    case SetupFault::FileNameTooLong:
        sink.error(fieldName(setup.moveType, p.cutField) +
                   " is longer than the 519 characters a file name may have");
        return;
    case SetupFault::EqualHopDistances:
        sink.error("the shortest and the longest hop are both " + std::to_string(p.motionParamX) +
                   (setup.scaledFromReference ? " once scaled to " + screenName(screen) : "") +
                   "; the longest must differ from the shortest");
        return;
    case SetupFault::PictureUnloaded: {
        // Both pictures are attempted: each that failed is named.
        const auto unloaded = [&](PictureField field, const char* name,
                                  const PictureLoadReport& load) {
            sink.error(fieldName(setup.moveType, fieldNumberOf(setup.moveType, field)) + ": " +
                       (name[0]
                            ? pictureFailureText(cataloguePath, setup.resourceFolder, name, load)
                            : std::string("names no picture")));
        };
        if (!setup.background)
            unloaded(PictureField::Background, p.backgroundFile, setup.backgroundLoad);
        if (!setup.sprite)
            unloaded(PictureField::Sprite, p.spriteFile, setup.spriteLoad);
        return;
    }
    case SetupFault::PictureUnscaled:
        if (!setup.background)
            sink.error(scaleFailureText(p.backgroundFile, setup.backgroundScale, screen));
        else
            sink.error(scaleFailureText(p.spriteFile, setup.spriteScale, screen));
        return;
    }
}

// How many of the sprite's pixels are of the key colour, and how many it has; false when
// they cannot be read.
bool countKeyPixels(HDC dc, HBITMAP sprite, long long& keyed, long long& all) {
    int width = 0, height = 0;
    if (!bitmapSize(sprite, width, height))
        return false;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> bits(static_cast<std::size_t>(width) * height);
    if (GetDIBits(dc, sprite, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS) !=
        height)
        return false;
    const std::uint32_t key = (GetRValue(kSpriteKeyColour) << 16) |
                              (GetGValue(kSpriteKeyColour) << 8) | GetBValue(kSpriteKeyColour);
    keyed = std::count_if(bits.begin(), bits.end(),
                          [key](std::uint32_t pixel) { return (pixel & 0xFFFFFF) == key; });
    all = static_cast<long long>(bits.size());
    return true;
}

void warnAboutPictures(const SceneSetup& setup, HDC dc, ScreenSize screen, Sink& sink,
                       int& stripWidth, long long& keyed, long long& all) {
    int height = 0;
    stripWidth = 0;
    keyed = all = -1;
    if (setup.moveType == MoveSlideShow && bitmapSize(setup.background.get(), stripWidth, height) &&
        stripWidth >= screen.width && stripWidth % screen.width != 0) {
        const int frames = stripWidth / screen.width;
        sink.warning("the strip \"" + std::string(setup.parameters.backgroundFile) + "\" is " +
                     std::to_string(stripWidth) + " pixels wide" +
                     (setup.scaledFromReference ? " once scaled" : "") +
                     ", not a whole number of " + std::to_string(screen.width) +
                     "-wide frames: the saver shows " + std::to_string(frames) + " frame" +
                     (frames == 1 ? "" : "s") + " and never the last " +
                     std::to_string(stripWidth % screen.width) + " columns");
    }
    if (!countKeyPixels(dc, setup.sprite.get(), keyed, all))
        return;
    if (keyed == 0)
        sink.warning("the sprite \"" + std::string(setup.parameters.spriteFile) +
                     "\" has no pixel of the key colour (magenta, 255,0,255): the saver draws "
                     "it as a solid rectangle");
    else if (keyed == all)
        sink.warning("the sprite \"" + std::string(setup.parameters.spriteFile) +
                     "\" is all key colour: nothing of it shows");
}

void warnAboutSpritePlace(const Scene& scene, const char* spriteFile, ScreenSize screen,
                          Sink& sink) {
    const RECT sprite = scene.spriteRect();
    const std::string what = "the sprite \"" + std::string(spriteFile) + "\" (" +
                             pixels(sprite.right - sprite.left, sprite.bottom - sprite.top) +
                             " at " + std::to_string(sprite.left) + "," +
                             std::to_string(sprite.top) + ")";
    if (sprite.left >= screen.width || sprite.top >= screen.height || sprite.right <= 0 ||
        sprite.bottom <= 0) {
        sink.warning(what + " lies wholly off the " + screenName(screen) +
                     " screen: nothing of it shows");
        return;
    }
    std::vector<std::string> edges;
    if (sprite.left < 0)
        edges.push_back(std::to_string(-sprite.left) + " past the left edge");
    if (sprite.top < 0)
        edges.push_back(std::to_string(-sprite.top) + " past the top");
    if (sprite.right > screen.width)
        edges.push_back(std::to_string(sprite.right - screen.width) + " past the right edge");
    if (sprite.bottom > screen.height)
        edges.push_back(std::to_string(sprite.bottom - screen.height) + " past the bottom");
    if (edges.empty())
        return;
    std::string text = what + " does not fit the " + screenName(screen) + " screen: it reaches ";
    for (std::size_t i = 0; i < edges.size(); ++i)
        text += (i ? (i + 1 == edges.size() ? " and " : ", ") : "") + edges[i];
    sink.warning(text + " (pixels), which the saver cuts off");
}

} // namespace

std::string fieldName(std::int32_t moveType, int fieldNumber) {
    const auto layout = pictureFieldLayout(moveType);
    const std::string number = "field " + std::to_string(fieldNumber);
    if (fieldNumber < 1 || layout.empty())
        return number;
    const auto index = static_cast<std::size_t>(fieldNumber) - 1;
    if (index < layout.size())
        return number + " (" + moveTypeFieldRole(moveType, layout[index]) + ")";
    if (layout.back() == PictureField::Waypoints)
        return number + " (waypoints)";
    return number;
}

void checkTypeOnScreen(const std::string& cataloguePath, const CatalogueLines& lines,
                       TypeOutcome& type, ScreenSize screen, HDC dc, ContactSheet* sheet,
                       CheckReport& report) {
    type.screens.push_back({});
    ScreenOutcome& outcome = type.screens.back();
    outcome.screen = screen;

    // As the saver builds it full screen, but never from a stored position.
    SceneSetup setup = loadSceneSetup(type.number, dc, screen.width, screen.height, true, false,
                                      nullptr, cataloguePath.c_str());
    if (setup.lookup == TypeLookup::Found) {
        char key[32] = "File.1024x0768";
        if (!setup.scaledFromReference)
            fileKeyName(screen.width, screen.height, key);
        outcome.key = key;
        outcome.scaledFromReference = setup.scaledFromReference;
    }
    Sink sink{report, outcome, type.number,
              "[" + type.section + "]" + (outcome.key.empty() ? "" : " " + outcome.key),
              lines.lineOf(type.section, outcome.key)};
    if (setup.fault != SetupFault::None) {
        reportSetupFault(cataloguePath, lines, type, setup, screen, sink);
        if (sheet)
            outcome.frameFile = sheet->writeNotice(type.number, screen, dc);
        return;
    }
    int stripWidth = 0;
    long long keyed = 0, all = 0;
    warnAboutPictures(setup, dc, screen, sink, stripWidth, keyed, all);
    const std::string spriteFile = setup.parameters.spriteFile;
    const std::string backgroundFile = setup.parameters.backgroundFile;

    Scene scene(std::move(setup), dc);
    switch (scene.fault()) {
    case SceneFault::None:
        break;
    case SceneFault::StripNarrowerThanScreen:
        sink.error("the strip \"" + backgroundFile + "\" is " + std::to_string(stripWidth) +
                   " pixels wide: not even one frame as wide as the " + screenName(screen) +
                   " screen");
        break;
    case SceneFault::UnreadablePicture:
        sink.error("a picture's size cannot be read");
        break;
    case SceneFault::NoDrawingContext:
        sink.error("the system gave no memory for drawing the pictures");
        break;
    case SceneFault::Setup:
        sink.error("the type cannot be built");
        break;
    }
    outcome.broken = scene.isBroken();
    if (outcome.broken) {
        if (sheet)
            outcome.frameFile = sheet->writeNotice(type.number, screen, dc);
        return;
    }
    warnAboutSpritePlace(scene, spriteFile.c_str(), screen, sink);
    if (sheet)
        outcome.frameFile = sheet->writeFrame(type.number, screen, dc, scene);
}

#include "scene/picture_parameters.h"
#include "scene/reference_scaling.h"
#include "settings/field_tokenizer.h"

namespace {

// Reads the fields in order; remembers whether a file name had to be cut.
class FieldReader {
  public:
    FieldReader(const char* text, bool scaled, std::int32_t width, std::int32_t height)
        : cursor_(text), scaled_(scaled), width_(width), height_(height) {}

    void skip() {
        cursor_ = nextTextField(cursor_, nullptr, 0);
        ++field_;
    }

    // The number (from 1) of the field of a name that had to be cut, or 0.
    void fileName(char (&name)[kPathCapacity], int& cutField) {
        bool cut = false;
        cursor_ = nextTextField(cursor_, name, sizeof name, &cut);
        ++field_;
        if (cut && cutField == 0)
            cutField = field_;
    }

    std::int32_t integer() {
        std::int32_t value = 0;
        cursor_ = nextIntField(cursor_, &value);
        ++field_;
        return value;
    }

    // False, without advancing, at the end of the text.
    bool integerIfAny(std::int32_t& value) {
        const char* next = nextIntField(cursor_, &value);
        if (next == cursor_)
            return false;
        cursor_ = next;
        ++field_;
        return true;
    }

    // The fields after the cursor that hold anything but blanks.
    int fieldsWithTextLeft() const {
        int count = 0;
        for (const char* cursor = cursor_;;) {
            const char* next = nextTextField(cursor, nullptr, 0);
            if (next == cursor)
                return count;
            for (const char* c = cursor; c < next && *c != ','; ++c)
                if (*c != ' ' && *c != '\t') {
                    ++count;
                    break;
                }
            cursor = next;
        }
    }

    std::int32_t scaledX(std::int32_t value) const {
        return scaled_ ? scaleFromReference(value, width_, kReferenceWidth) : value;
    }
    std::int32_t scaledY(std::int32_t value) const {
        return scaled_ ? scaleFromReference(value, height_, kReferenceHeight) : value;
    }

  private:
    const char* cursor_;
    bool scaled_;
    std::int32_t width_;
    std::int32_t height_;
    int field_ = 0;
};

void readWaypoints(FieldReader& fields, PictureParameters& p) {
    p.waypointCount = 0;
    while (p.waypointCount < kMaxWaypoints) {
        std::int32_t x = 0;
        std::int32_t y = 0;
        // A trailing x without its y is dropped.
        if (!fields.integerIfAny(x))
            break;
        if (!fields.integerIfAny(y)) {
            p.waypointXWithoutY = true;
            break;
        }
        p.waypoints[p.waypointCount] = {fields.scaledX(x), fields.scaledY(y)};
        ++p.waypointCount;
    }
    if (p.waypointCount == 0) {
        p.waypoints[0] = {0, 0};
        p.waypointCount = 1;
    }
}

constexpr PictureField kSlideShowFields[] = {PictureField::Wallpaper, PictureField::Background,
                                             PictureField::Sprite, PictureField::SpriteX,
                                             PictureField::SpriteY};
constexpr PictureField kDriftFields[] = {
    PictureField::Wallpaper, PictureField::Background, PictureField::MotionX, PictureField::MotionY,
    PictureField::Sprite,    PictureField::SpriteX,    PictureField::SpriteY};
constexpr PictureField kRandomHopFields[] = {PictureField::Wallpaper, PictureField::Background,
                                             PictureField::MotionX,   PictureField::MotionY,
                                             PictureField::Sprite,    PictureField::SpriteX,
                                             PictureField::SpriteY,   PictureField::KeepInside};
constexpr PictureField kWaypointFields[] = {PictureField::Wallpaper, PictureField::Background,
                                            PictureField::Sprite,    PictureField::SpriteX,
                                            PictureField::SpriteY,   PictureField::Waypoints};

} // namespace

std::span<const PictureField> pictureFieldLayout(std::int32_t moveType) {
    switch (moveType) {
    case MoveSlideShow:
    case MoveClock:
        return kSlideShowFields;
    case MoveDrift:
        return kDriftFields;
    case MoveRandomHop:
        return kRandomHopFields;
    case MoveWaypoints:
        return kWaypointFields;
    default:
        return {};
    }
}

bool parametersCanMove(std::int32_t moveType, const PictureParameters& parameters) {
    return moveType != MoveRandomHop || parameters.motionParamX != parameters.motionParamY;
}

bool parsePictureParameters(const char* fileSpec, std::int32_t moveType, bool scaledFromReference,
                            std::int32_t screenWidth, std::int32_t screenHeight,
                            PictureParameters& p) {
    p = PictureParameters{};
    p.waypointCount = 1;
    const std::span<const PictureField> layout = pictureFieldLayout(moveType);
    if (layout.empty())
        return false;
    FieldReader fields(fileSpec, scaledFromReference, screenWidth, screenHeight);
    for (PictureField field : layout) {
        switch (field) {
        case PictureField::Wallpaper:
            fields.skip();
            break;
        case PictureField::Background:
            fields.fileName(p.backgroundFile, p.cutField);
            break;
        case PictureField::Sprite:
            fields.fileName(p.spriteFile, p.cutField);
            break;
        case PictureField::SpriteX:
            p.spriteX = fields.integer();
            break;
        case PictureField::SpriteY:
            p.spriteY = fields.integer();
            break;
        case PictureField::MotionX:
            p.motionParamX = fields.scaledX(fields.integer());
            break;
        case PictureField::MotionY:
            p.motionParamY = fields.scaledY(fields.integer());
            break;
        case PictureField::KeepInside:
            p.keepInside = fields.integer() != 0;
            break;
        case PictureField::Waypoints:
            readWaypoints(fields, p);
            break;
        }
    }
    p.unreadFields = fields.fieldsWithTextLeft();
    return p.cutField == 0;
}

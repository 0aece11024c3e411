#include "scene/picture_parameters.h"
#include "scene/reference_scaling.h"
#include "settings/field_tokenizer.h"

namespace {

// Reads the fields in order; remembers whether a file name had to be cut.
class FieldReader {
  public:
    FieldReader(const char* text, bool scaled, std::int32_t width, std::int32_t height)
        : cursor_(text), scaled_(scaled), width_(width), height_(height) {}

    void skip() { cursor_ = nextTextField(cursor_, nullptr, 0); }

    void fileName(char (&name)[kPathCapacity]) {
        bool cut = false;
        cursor_ = nextTextField(cursor_, name, sizeof name, &cut);
        fits_ = fits_ && !cut;
    }

    std::int32_t integer() {
        std::int32_t value = 0;
        cursor_ = nextIntField(cursor_, &value);
        return value;
    }

    // False, without advancing, at the end of the text.
    bool integerIfAny(std::int32_t& value) {
        const char* next = nextIntField(cursor_, &value);
        if (next == cursor_)
            return false;
        cursor_ = next;
        return true;
    }

    std::int32_t scaledX(std::int32_t value) const {
        return scaled_ ? scaleFromReference(value, width_, kReferenceWidth) : value;
    }
    std::int32_t scaledY(std::int32_t value) const {
        return scaled_ ? scaleFromReference(value, height_, kReferenceHeight) : value;
    }

    bool namesFit() const { return fits_; }

  private:
    const char* cursor_;
    bool scaled_;
    std::int32_t width_;
    std::int32_t height_;
    bool fits_ = true;
};

void readWaypoints(FieldReader& fields, PictureParameters& p) {
    p.waypointCount = 0;
    while (p.waypointCount < kMaxWaypoints) {
        std::int32_t x = 0;
        std::int32_t y = 0;
        // A trailing x without its y is dropped.
        if (!fields.integerIfAny(x) || !fields.integerIfAny(y))
            break;
        p.waypoints[p.waypointCount] = {fields.scaledX(x), fields.scaledY(y)};
        ++p.waypointCount;
    }
    if (p.waypointCount == 0) {
        p.waypoints[0] = {0, 0};
        p.waypointCount = 1;
    }
}

} // namespace

bool parametersCanMove(std::int32_t moveType, const PictureParameters& parameters) {
    return moveType != MoveRandomHop || parameters.motionParamX != parameters.motionParamY;
}

bool parsePictureParameters(const char* fileSpec, std::int32_t moveType, bool scaledFromReference,
                            std::int32_t screenWidth, std::int32_t screenHeight,
                            PictureParameters& p) {
    p = PictureParameters{};
    p.waypointCount = 1;
    FieldReader fields(fileSpec, scaledFromReference, screenWidth, screenHeight);
    fields.skip(); // the type's own wallpaper picture
    fields.fileName(p.backgroundFile);
    switch (moveType) {
    case MoveSlideShow:
    case MoveClock:
    case MoveWaypoints:
        fields.fileName(p.spriteFile);
        p.spriteX = fields.integer();
        p.spriteY = fields.integer();
        if (moveType == MoveWaypoints)
            readWaypoints(fields, p);
        break;
    case MoveDrift:
    case MoveRandomHop:
        p.motionParamX = fields.scaledX(fields.integer());
        p.motionParamY = fields.scaledY(fields.integer());
        fields.fileName(p.spriteFile);
        p.spriteX = fields.integer();
        p.spriteY = fields.integer();
        if (moveType == MoveRandomHop)
            p.keepInside = fields.integer() != 0;
        break;
    default:
        return false;
    }
    return fields.namesFit();
}

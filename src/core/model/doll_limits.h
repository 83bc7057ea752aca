#ifndef LUMA_CORE_MODEL_DOLL_LIMITS_H_
#define LUMA_CORE_MODEL_DOLL_LIMITS_H_

#include <algorithm>
#include <cstdint>

// Bounds on the sizes and coordinates that reach the engine from a CNF and
// from scripts. Real dolls stay far inside them: playfields are a few
// hundred to a couple of thousand pixels, and objects parked out of sight sit
// a few playfields away at most. Values are held to them where they enter
// (the CNF parser, the script's actions, the view's input), so that every
// sum formed downstream (position plus offset plus cel size, times the
// largest zoom factor, plus the scroll origin) stays well inside 32 bits and
// is exact in a float.
namespace luma {

// Playfield and doll window width and height, in doll pixels. A picture of
// the whole playfield still fits the software device's largest surface.
inline constexpr int kMinPlayfieldSide = 1;
inline constexpr int kMaxPlayfieldSide = 8192;

// Object positions, the doll window's origin, script restrictions and
// pointer positions lie within -kMaxCoordinate..kMaxCoordinate.
inline constexpr int kMaxCoordinate = 500000;

// A cel's offset inside its object (%x, %y): what a cel file can hold.
inline constexpr int kMaxCelOffset = 65535;

inline int LimitCoordinate(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, -kMaxCoordinate, kMaxCoordinate));
}

inline int LimitPlayfieldSide(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, kMinPlayfieldSide, kMaxPlayfieldSide));
}

inline int LimitCelOffset(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, 0, kMaxCelOffset));
}

}  // namespace luma

#endif  // LUMA_CORE_MODEL_DOLL_LIMITS_H_

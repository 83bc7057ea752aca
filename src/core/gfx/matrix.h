#ifndef LUMA_CORE_GFX_MATRIX_H_
#define LUMA_CORE_GFX_MATRIX_H_

namespace luma {

// A 4 x 4 transform for row vectors (a point p maps to p * M), the
// convention of the fixed-function pipeline: translation sits in the last row.
struct Matrix4 {
  float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

  static Matrix4 Identity() { return Matrix4(); }
  static Matrix4 Translation(float x, float y, float z);
  // Left-handed orthographic projection of a width x height window centred
  // on the origin, depth zn..zf mapped to 0..1.
  static Matrix4 OrthoLH(float width, float height, float zn, float zf);

  friend Matrix4 operator*(const Matrix4& a, const Matrix4& b);
  friend bool operator==(const Matrix4& a, const Matrix4& b);
};

}  // namespace luma

#endif  // LUMA_CORE_GFX_MATRIX_H_

#include "core/gfx/matrix.h"

namespace luma {

Matrix4 Matrix4::Translation(float x, float y, float z) {
  Matrix4 t;
  t.m[3][0] = x;
  t.m[3][1] = y;
  t.m[3][2] = z;
  return t;
}

Matrix4 Matrix4::OrthoLH(float width, float height, float zn, float zf) {
  Matrix4 p;
  p.m[0][0] = 2.0f / width;
  p.m[1][1] = 2.0f / height;
  p.m[2][2] = 1.0f / (zf - zn);
  p.m[3][2] = -zn / (zf - zn);
  return p;
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
  Matrix4 r;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
      r.m[i][j] = sum;
    }
  }
  return r;
}

bool operator==(const Matrix4& a, const Matrix4& b) {
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      if (a.m[i][j] != b.m[i][j]) return false;
    }
  }
  return true;
}

}  // namespace luma

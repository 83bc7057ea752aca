#ifndef LUMA_APP_POINTER_CURSORS_H_
#define LUMA_APP_POINTER_CURSORS_H_

#include <QCursor>

#include "core/view/view_front_end.h"

namespace luma::app {

// The pointer for a view state: the desktop's own for kSystem, the
// program's drawn pointers for the four custom states, and a small dot.
QCursor CursorFor(PointerCursor cursor);

}  // namespace luma::app

#endif  // LUMA_APP_POINTER_CURSORS_H_

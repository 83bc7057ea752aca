#ifndef LUMA_CORE_VIEW_DOCUMENTATION_H_
#define LUMA_CORE_VIEW_DOCUMENTATION_H_

#include <string_view>

namespace luma {

// A doll's documentation file opens in the text editor unless its extension
// (doc, rtf, htm, html or txt, any case) has a program of its own.
bool OpensInTextEditor(std::string_view file_name);

}  // namespace luma

#endif  // LUMA_CORE_VIEW_DOCUMENTATION_H_

#ifndef LUMA_CORE_DOLL_EXTERNAL_FILES_H_
#define LUMA_CORE_DOLL_EXTERNAL_FILES_H_

#include "core/doll/doll_files.h"
#include "core/doll/load_progress.h"
#include "core/host/host.h"
#include "core/model/doll_model.h"

namespace luma {

// Makes the sound and music files the script names available on disk: a
// file beside the CNF is used where it is; an archive member is extracted
// to a temporary copy with the member's own extension. Problems go to the
// doll's report; a file that stays unavailable simply does not play.
void PrepareExternalFiles(DollModel& doll, DollFiles& files, Host& host, LoadProgress& progress);

}  // namespace luma

#endif  // LUMA_CORE_DOLL_EXTERNAL_FILES_H_

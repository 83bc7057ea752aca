#ifndef LUMA_CORE_VIEW_SYSTEM_REPORT_H_
#define LUMA_CORE_VIEW_SYSTEM_REPORT_H_

#include <string>
#include <vector>

#include "core/gfx/render_device.h"
#include "core/host/settings.h"
#include "core/host/system_facts.h"
#include "core/view/doll_statistics.h"

namespace luma {

// The bug report's text: the computer, the graphics device (null: none),
// the options in force and every open doll with its counts. Every line
// ends in "\r\n"; indented lines start with tabs.
std::string ComposeSystemReport(const SystemFacts& facts, RenderDevice* device,
                                const Settings& settings, const std::vector<DollStatistics>& dolls);

}  // namespace luma

#endif  // LUMA_CORE_VIEW_SYSTEM_REPORT_H_

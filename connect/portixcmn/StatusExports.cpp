// The status record's members that this library exports under their own names (ordinals 69 and
// 73 to 78): the record is defined in the engine's interface header, and these references make
// the library carry each member's code.
#include <portix/Status.h>

namespace {

[[gnu::used]] const auto s_assign = &CStatus::operator=;
[[gnu::used]] const auto s_majorCode = &CStatus::GetMajorCode;
[[gnu::used]] const auto s_majorDesc = &CStatus::GetMajorDesc;
[[gnu::used]] const auto s_minorCode = &CStatus::GetMinorCode;
[[gnu::used]] const auto s_minorDesc = &CStatus::GetMinorDesc;
[[gnu::used]] const auto s_rawCode = &CStatus::GetRawStatusCode;
[[gnu::used]] const auto s_setRawCode = &CStatus::SetRawStatusCode;

}  // namespace

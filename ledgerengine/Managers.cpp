// ClDataMgr and ClLinkMgr: the single instances and the objects they hand out.
#include "engine/LedgerEngine.h"

namespace {

// The data-set object the program asks for (kind 5, sub-kind 1).
constexpr std::int32_t kDataSetKind = 5;
constexpr std::int32_t kDataSetSubKind = 1;

}  // namespace

ClDataMgr* ClDataMgr::Inst() {
  static ClDataMgr manager;
  return &manager;
}

ClSysUser* ClDataMgr::GetSysUserObject() {
  static ClSysUser user;
  return &user;
}

ClSetData* ClDataMgr::GetSetObject(std::int32_t kind, std::int32_t sub) {
  static ClSetData dataSets;
  return kind == kDataSetKind && sub == kDataSetSubKind ? &dataSets : nullptr;
}

ClSetMgr* ClDataMgr::GetSetMgr() {
  static ClSetMgr manager;
  return &manager;
}

ClLinkMgr* ClLinkMgr::Inst() {
  static ClLinkMgr manager;
  return &manager;
}

ClOptLink* ClLinkMgr::GetOptLink() {
  static ClOptLink link;
  return &link;
}

#include "platform/OwnFiles.h"

#include <algorithm>
#include <mutex>

namespace pv14 {
namespace {

std::mutex& Guard() {
  static std::mutex guard;
  return guard;
}

std::vector<std::string>& Noted() {
  static std::vector<std::string> noted;
  return noted;
}

}  // namespace

void NoteOwnFile(const std::string& nativePath) {
  std::lock_guard<std::mutex> lock(Guard());
  std::vector<std::string>& noted = Noted();
  if (std::find(noted.begin(), noted.end(), nativePath) == noted.end()) noted.push_back(nativePath);
}

std::vector<std::string> OwnFiles() {
  std::lock_guard<std::mutex> lock(Guard());
  return Noted();
}

}  // namespace pv14

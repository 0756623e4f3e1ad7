// What Explorer, installers and the loader read from each program: the
// version resource, with the project's version, and the application
// manifest that selects the common controls 6, DPI awareness and asInvoker.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "platform/win32/WindowsApi.h"

namespace pv14::testing {
namespace {

struct ProgramCase {
  const char* path;
  const char* fileName;
};
void PrintTo(const ProgramCase& c, std::ostream* os) { *os << c.fileName; }

const ProgramCase kPrograms[] = {
    {PV14_STD_PROGRAM, "LedgerStd19ToPv14.exe"},
    {PV14_NET_PROGRAM, "LedgerNet19ToPv14.exe"},
    {LEDGER_ENGINE_TOOL, "ledger-engine.exe"},
};

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The project's version as the four 16-bit fields of a fixed file version.
std::vector<unsigned> ProjectVersionFields() {
  unsigned major = 0, minor = 0, patch = 0;
  EXPECT_EQ(std::sscanf(PV14_PROJECT_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
  return {major, minor, patch, 0};
}

class ProgramResourcesTest : public ::testing::TestWithParam<ProgramCase> {
 protected:
  void SetUp() override {
    const std::wstring path = Wide(GetParam().path);
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), nullptr);
    ASSERT_NE(size, 0u) << "no version resource in " << GetParam().path;
    versionInfo_.resize(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, versionInfo_.data()));
  }

  std::wstring StringValue(const wchar_t* name) {
    const std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(versionInfo_.data(), key.c_str(), &value, &length) || length == 0)
      return {};
    return std::wstring(static_cast<const wchar_t*>(value), length - 1);
  }

  std::vector<unsigned char> versionInfo_;
};

TEST_P(ProgramResourcesTest, FixedVersionIsTheProjects) {
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(versionInfo_.data(), L"\\", &value, &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const std::vector<unsigned> expected = ProjectVersionFields();
  const std::vector<unsigned> file = {
      HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
      HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
  const std::vector<unsigned> product = {
      HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
      HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS)};
  EXPECT_EQ(file, expected);
  EXPECT_EQ(product, expected);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_P(ProgramResourcesTest, JapaneseStringsNameTheProgramAndRelease) {
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(
      ::VerQueryValueW(versionInfo_.data(), L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_GE(length, 4u);
  const auto* translation = static_cast<const WORD*>(value);
  EXPECT_EQ(translation[0], 0x0411);  // Japanese
  EXPECT_EQ(translation[1], 1200);    // Unicode

  EXPECT_EQ(StringValue(L"OriginalFilename"), Wide(GetParam().fileName));
  EXPECT_EQ(StringValue(L"FileVersion"), Wide(PV14_PROJECT_VERSION));
  EXPECT_EQ(StringValue(L"ProductVersion"), Wide(PV14_RELEASE));
  EXPECT_FALSE(StringValue(L"CompanyName").empty());
  EXPECT_FALSE(StringValue(L"ProductName").empty());
  // The description is Japanese text: the product's name first.
  EXPECT_EQ(StringValue(L"FileDescription").substr(0, 5), L"\x52d8\x5b9a\x4e38\xff11\xff19");
}

TEST_P(ProgramResourcesTest, ManifestAsksForCommonControls6DpiAwarenessAndNoElevation) {
  HMODULE module = ::LoadLibraryExW(Wide(GetParam().path).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(resource, nullptr) << "no manifest (RT_MANIFEST 1) in " << GetParam().path;
  const DWORD size = ::SizeofResource(module, resource);
  const void* data = ::LockResource(::LoadResource(module, resource));
  ASSERT_NE(data, nullptr);
  const std::string manifest(static_cast<const char*>(data), size);
  ::FreeLibrary(module);

  const char* expected[] = {
      "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
      "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
      ">true</dpiAware>",
      ">PerMonitorV2, System</dpiAwareness>",
      "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // Windows 10 and 11
      "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",  // Windows 7
  };
  for (const char* part : expected) EXPECT_NE(manifest.find(part), std::string::npos) << part;
#if defined(_WIN64)
  EXPECT_NE(manifest.find("processorArchitecture=\"amd64\""), std::string::npos);
#else
  EXPECT_NE(manifest.find("processorArchitecture=\"x86\""), std::string::npos);
#endif
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramResourcesTest, ::testing::ValuesIn(kPrograms));

}  // namespace
}  // namespace pv14::testing

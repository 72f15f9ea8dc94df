// Reads the headers of the built programs and checks the layout that lets the loader map them
// straight from the file: every section's raw data starts on a page boundary (file alignment of at
// least the page size), and the resources, which carry setup's payload, are read-only.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "testsupport/test_support.h"

namespace vesk {
namespace {

struct SectionLayout {
  std::string name;
  DWORD rawOffset = 0;
  DWORD rawSize = 0;
  DWORD characteristics = 0;
  DWORD virtualAddress = 0;
  DWORD virtualSize = 0;
  bool holdsResources = false;
};

struct ImageLayout {
  bool valid = false;
  DWORD fileAlignment = 0;
  IMAGE_DATA_DIRECTORY imports = {};
  std::vector<SectionLayout> sections;
};

template <typename T>
bool ReadAt(const std::string& bytes, size_t offset, T& value) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return false;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return true;
}

// The file alignment and the sections of a 64-bit program, from its headers.
ImageLayout ReadImageLayout(const std::string& bytes) {
  ImageLayout layout;
  IMAGE_DOS_HEADER dos;
  DWORD signature = 0;
  IMAGE_FILE_HEADER file;
  IMAGE_OPTIONAL_HEADER64 optional;
  if (!ReadAt(bytes, 0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return layout;
  const size_t pe = static_cast<size_t>(dos.e_lfanew);
  if (!ReadAt(bytes, pe, signature) || signature != IMAGE_NT_SIGNATURE) return layout;
  if (!ReadAt(bytes, pe + sizeof(signature), file)) return layout;
  const size_t optionalOffset = pe + sizeof(signature) + sizeof(file);
  if (!ReadAt(bytes, optionalOffset, optional) ||
      optional.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    return layout;
  }
  const IMAGE_DATA_DIRECTORY& resources = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
  size_t sectionOffset = optionalOffset + file.SizeOfOptionalHeader;
  for (WORD i = 0; i < file.NumberOfSections; ++i, sectionOffset += sizeof(IMAGE_SECTION_HEADER)) {
    IMAGE_SECTION_HEADER header;
    if (!ReadAt(bytes, sectionOffset, header)) return layout;
    SectionLayout section;
    const std::string name(reinterpret_cast<const char*>(header.Name), IMAGE_SIZEOF_SHORT_NAME);
    section.name = name.substr(0, name.find('\0'));  // null-padded when shorter than 8 bytes
    section.rawOffset = header.PointerToRawData;
    section.rawSize = header.SizeOfRawData;
    section.characteristics = header.Characteristics;
    section.virtualAddress = header.VirtualAddress;
    section.virtualSize = header.Misc.VirtualSize;
    section.holdsResources =
        resources.Size != 0 && resources.VirtualAddress >= header.VirtualAddress &&
        resources.VirtualAddress - header.VirtualAddress < header.Misc.VirtualSize;
    layout.sections.push_back(section);
  }
  layout.fileAlignment = optional.FileAlignment;
  layout.imports = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  layout.valid = true;
  return layout;
}

// What keeps the loader from mapping the program from the file as it is; empty when nothing does.
std::vector<std::string> MappingObstacles(const ImageLayout& layout, DWORD pageSize) {
  std::vector<std::string> obstacles;
  if (!layout.valid) return {"not a 64-bit Windows program"};
  if (layout.fileAlignment < pageSize) {
    obstacles.push_back("file alignment " + std::to_string(layout.fileAlignment) +
                        " is below the page size " + std::to_string(pageSize));
  }
  for (const SectionLayout& section : layout.sections) {
    if (section.rawSize != 0 && section.rawOffset % pageSize != 0) {
      obstacles.push_back(section.name + " starts at " + std::to_string(section.rawOffset) +
                          ", not on a page boundary");
    }
    if (section.holdsResources && (section.characteristics & IMAGE_SCN_MEM_WRITE)) {
      obstacles.push_back(section.name + " (the resources) is writable");
    }
  }
  return obstacles;
}

DWORD PageSize() {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  return system.dwPageSize;
}

std::string ProgramBytes(const wchar_t* path) {
  std::string bytes = testing::ReadFileBytes(path);
  EXPECT_FALSE(bytes.empty()) << testing::Narrow(path);
  return bytes;
}

std::string Describe(const std::vector<std::string>& obstacles) {
  std::string text;
  for (const std::string& obstacle : obstacles) text += "\n  " + obstacle;
  return text;
}

// The file offset of an address of the loaded image; 0 when no section holds it.
size_t FileOffsetOf(const ImageLayout& layout, DWORD address) {
  for (const SectionLayout& section : layout.sections) {
    if (address >= section.virtualAddress && address - section.virtualAddress < section.rawSize) {
      return section.rawOffset + (address - section.virtualAddress);
    }
  }
  return 0;
}

// The names of the libraries in the program's import table, in lower case.
std::vector<std::string> ImportedLibraries(const std::string& bytes, const ImageLayout& layout) {
  std::vector<std::string> names;
  size_t offset = FileOffsetOf(layout, layout.imports.VirtualAddress);
  if (layout.imports.Size == 0 || offset == 0) return names;
  for (IMAGE_IMPORT_DESCRIPTOR entry; ReadAt(bytes, offset, entry) && entry.Name != 0;
       offset += sizeof(entry)) {
    size_t nameOffset = FileOffsetOf(layout, entry.Name);
    if (nameOffset == 0) break;
    std::string name(bytes.c_str() + nameOffset);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    names.push_back(name);
  }
  return names;
}

// The libraries Windows always takes from its system folder (its known DLLs), whatever lies
// beside a program.
const char* const kKnownLibraries[] = {
    "advapi32.dll", "clbcatq.dll",  "combase.dll",  "comdlg32.dll", "coml2.dll",
    "difxapi.dll",  "gdi32.dll",    "gdiplus.dll",  "imagehlp.dll", "imm32.dll",
    "kernel32.dll", "msctf.dll",    "msvcrt.dll",   "normaliz.dll", "nsi.dll",
    "ole32.dll",    "oleaut32.dll", "psapi.dll",    "rpcrt4.dll",   "sechost.dll",
    "setupapi.dll", "shcore.dll",   "shell32.dll",  "shlwapi.dll",  "user32.dll",
    "wldap32.dll",  "ws2_32.dll"};

bool IsKnownLibrary(const std::string& name) {
  for (const char* known : kKnownLibraries) {
    if (name == known) return true;
  }
  return false;
}

// Each shipped program imports only known libraries; every other system library is loaded at
// run time from the system folder.
TEST(ProgramImageTest, ProgramsImportOnlyKnownLibraries) {
  const wchar_t* programs[] = {VESK_SETUP_EXE, VESK_UNINSTALL_EXE, VESK_UPDATE_HELPER_EXE};
  for (const wchar_t* program : programs) {
    const std::string bytes = ProgramBytes(program);
    std::vector<std::string> imported = ImportedLibraries(bytes, ReadImageLayout(bytes));
    EXPECT_NE(std::find(imported.begin(), imported.end(), "kernel32.dll"), imported.end())
        << testing::Narrow(program) << ": the import table was not read";
    for (const std::string& name : imported) {
      EXPECT_TRUE(IsKnownLibrary(name)) << testing::Narrow(program) << " imports " << name;
    }
  }
}

// Each shipped program, as built, has page-aligned sections and read-only resources.
TEST(ProgramImageTest, ShippedProgramsAreMappedFromTheFile) {
  const wchar_t* programs[] = {VESK_SETUP_EXE, VESK_UNINSTALL_EXE, VESK_UPDATE_HELPER_EXE};
  for (const wchar_t* program : programs) {
    ImageLayout layout = ReadImageLayout(ProgramBytes(program));
    ASSERT_TRUE(layout.valid) << testing::Narrow(program);
    EXPECT_GE(layout.fileAlignment, PageSize()) << testing::Narrow(program);
    std::vector<std::string> obstacles = MappingObstacles(layout, PageSize());
    EXPECT_TRUE(obstacles.empty()) << testing::Narrow(program) << Describe(obstacles);
  }
}

// The setup program's payload lives in its resources: the check sees that section.
TEST(ProgramImageTest, SetupResourcesAreFound) {
  ImageLayout layout = ReadImageLayout(ProgramBytes(VESK_SETUP_EXE));
  int resourceSections = 0;
  for (const SectionLayout& section : layout.sections) {
    if (section.holdsResources) {
      ++resourceSections;
      EXPECT_GT(section.rawSize, 500000u) << "the stand-in payload is over 500 KB";
    }
  }
  EXPECT_EQ(resourceSections, 1);
}

// Each way the linker's defaults would lay a program out again is refused, with its reason.
TEST(ProgramImageTest, DefaultLinkerLayoutIsRefused) {
  const std::string built = ProgramBytes(VESK_SETUP_EXE);
  const ImageLayout good = ReadImageLayout(built);
  ASSERT_TRUE(good.valid);
  ASSERT_GE(good.sections.size(), 2u);
  ASSERT_TRUE(MappingObstacles(good, PageSize()).empty());

  struct Case {
    const char* change;
    void (*apply)(ImageLayout&);
  };
  const Case cases[] = {
      {"512-byte file alignment", [](ImageLayout& layout) { layout.fileAlignment = 512; }},
      {"a section starting 512 bytes into a page",
       [](ImageLayout& layout) { layout.sections[1].rawOffset += 512; }},
      {"writable resources",
       [](ImageLayout& layout) {
         for (SectionLayout& section : layout.sections) {
           if (section.holdsResources) section.characteristics |= IMAGE_SCN_MEM_WRITE;
         }
       }},
  };
  for (const Case& change : cases) {
    ImageLayout layout = good;
    change.apply(layout);
    std::vector<std::string> obstacles = MappingObstacles(layout, PageSize());
    EXPECT_EQ(obstacles.size(), 1u) << change.change << Describe(obstacles);
  }
  EXPECT_FALSE(ReadImageLayout(built.substr(0, 100)).valid) << "headers cut short";
}

}  // namespace
}  // namespace vesk

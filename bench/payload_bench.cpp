// Figures of payload extraction against copying the same bytes with CopyFileW, measured in the
// same run in alternating rounds (medians of 7): the setup program's whole payload (the same items
// and source files as VeskSetup), and one large generated item of 64 MiB.
//   cmake --build <build> --target payload_bench
//   cmake/wine-run.sh <build> <build>/bin/payload_bench.exe
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "setup/engine/payload.h"
#include "setup/engine/payload_integrity.h"
#include "testsupport/payload_manifest.h"
#include "testsupport/test_support.h"

namespace {

using vesk::testing::kManifest;
using ManifestItem = vesk::testing::ManifestEntry;

constexpr WORD kLargeItemId = 9001;

using Clock = std::chrono::steady_clock;

double Milliseconds(const std::function<void()>& work) {
  const Clock::time_point start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Times `ours` and `baseline` in alternating rounds, each after `prepare`, and prints the medians
// and the median of the per-round ratios baseline / ours (above 1: extraction is faster).
void Compare(const char* label, double megabytes, const std::function<void()>& prepare,
             const std::function<void()>& ours, const std::function<void()>& baseline) {
  std::vector<double> oursTimes, baselineTimes, ratios;
  for (int round = 0; round < 7; ++round) {
    prepare();
    oursTimes.push_back(Milliseconds(ours));
    prepare();
    baselineTimes.push_back(Milliseconds(baseline));
    ratios.push_back(baselineTimes.back() / oursTimes.back());
  }
  const double oursMedian = Median(oursTimes);
  const double baselineMedian = Median(baselineTimes);
  std::printf("%-28s %8.1f MB | extraction %8.2f ms %7.0f MB/s | CopyFileW %8.2f ms %7.0f MB/s | "
              "ratio %.2f\n",
              label, megabytes, oursMedian, megabytes / oursMedian * 1e3, baselineMedian,
              megabytes / baselineMedian * 1e3, Median(ratios));
}

double FileMegabytes(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<double>(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow) / 1048576.0;
}

}  // namespace

int wmain() {
  vesk::testing::ScopedTempFolder folder(L"payload_bench");
  const std::wstring target = folder.path();
  const HMODULE module = GetModuleHandleW(nullptr);
  auto emptyTarget = [&] {
    for (const std::wstring& name : vesk::testing::ListFolder(target)) {
      DeleteFileW((target + L"\\" + name).c_str());
    }
  };

  double payloadMegabytes = 0;
  for (const ManifestItem& item : kManifest) payloadMegabytes += FileMegabytes(item.source);
  std::printf("wall time, medians of 7 alternating rounds; ratio = median of the rounds' CopyFileW "
              "time / extraction time\n");
  Compare("whole payload (26 items)", payloadMegabytes, emptyTarget,
          [&] { (void)vesk::ExtractPayload(module, target); },  // timed, not checked
          [&] {
            for (const ManifestItem& item : kManifest) {
              CopyFileW(item.source, (target + L"\\" + item.name).c_str(), FALSE);
            }
          });

  const std::wstring large = target + L"\\large.bin";
  Compare("one large item", FileMegabytes(VESK_BENCH_LARGE_ITEM), emptyTarget,
          [&] { (void)vesk::ExtractResourceToFile(module, kLargeItemId, large); },
          [&] { CopyFileW(VESK_BENCH_LARGE_ITEM, large.c_str(), FALSE); });

  // The two halves of the large item's extraction on their own: its check (the written file
  // hashed on both cores, as the hold checks it), and its bytes written in the same 1 MiB pieces
  // without one.
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(kLargeItemId), RT_RCDATA);
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, resource)));
  const DWORD size = SizeofResource(module, resource);
  Compare("  its check alone", FileMegabytes(VESK_BENCH_LARGE_ITEM),
          [&] { (void)vesk::ExtractResourceToFile(module, kLargeItemId, large); },
          [&] { (void)vesk::FileDigest(large); },
          [&] { CopyFileW(VESK_BENCH_LARGE_ITEM, large.c_str(), FALSE); });
  Compare("  its writing alone", FileMegabytes(VESK_BENCH_LARGE_ITEM), emptyTarget,
          [&] {
            vesk::UniqueFile file(CreateFileW(large.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            for (DWORD done = 0; done < size; done += 1 << 20) {
              DWORD written = 0;
              WriteFile(file.get(), bytes + done, std::min<DWORD>(size - done, 1 << 20), &written,
                        nullptr);
            }
          },
          [&] { CopyFileW(VESK_BENCH_LARGE_ITEM, large.c_str(), FALSE); });
  return 0;
}

#include "support/TempFolder.h"

#include <atomic>
#include <filesystem>
#include <random>
#include <system_error>

#include "platform/Paths.h"

namespace roviro::test {

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  const auto base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto candidate = base / ("roviro-test-" + std::to_string(rd()) + "-" +
                                   std::to_string(counter.fetch_add(1)));
    std::error_code ec;
    if (std::filesystem::create_directory(candidate, ec)) {
      m_path = candidate.string();
      return;
    }
  }
}

TempFolder::~TempFolder() {
  std::error_code ec;
  if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
}

std::string TempFolder::File(const std::string& name) const { return JoinPath(m_path, name); }

}  // namespace roviro::test

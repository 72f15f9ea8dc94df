#include "uitoolkit/controls/ui_delegate.h"

#include <algorithm>

namespace SkinUI {

void CEventSource::operator+=(const CDelegateBase& delegate) {
  for (const auto& present : m_delegates) {
    if (present->Equals(delegate)) return;
  }
  m_delegates.emplace_back(delegate.Copy());
}

void CEventSource::operator+=(CDelegateStatic::Function function) {
  *this += CDelegateStatic(function);
}

void CEventSource::operator-=(const CDelegateBase& delegate) {
  auto found = std::find_if(m_delegates.begin(), m_delegates.end(),
                            [&](const std::unique_ptr<CDelegateBase>& present) {
                              return present->Equals(delegate);
                            });
  if (found != m_delegates.end()) m_delegates.erase(found);
}

void CEventSource::operator-=(CDelegateStatic::Function function) {
  *this -= CDelegateStatic(function);
}

bool CEventSource::operator()(void* param) {
  // A delegate may add or remove delegates of this source while it runs: walk by index and
  // re-check the size each time.
  for (std::size_t i = 0; i < m_delegates.size(); ++i) {
    if (!m_delegates[i]->Invoke(param)) return false;
  }
  return true;
}

}  // namespace SkinUI

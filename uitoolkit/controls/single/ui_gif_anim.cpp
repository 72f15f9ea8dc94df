#include "uitoolkit/controls/single/ui_gif_anim.h"

#include <vector>

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_control_manager.h"
#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {

const wchar_t* CGifAnimUI::GetClass() const { return kClassName; }

void* CGifAnimUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) return this;
  return CControlUI::GetInterface(name);
}

void CGifAnimUI::DoInit() { FollowVisibility(); }

void CGifAnimUI::SetVisible(bool visible) {
  CControlUI::SetVisible(visible);
  FollowVisibility();
}

void CGifAnimUI::SetInternVisible(bool visible) {
  CControlUI::SetInternVisible(visible);
  FollowVisibility();
}

void CGifAnimUI::FollowVisibility() {
  if (!IsVisible()) {
    Stop();
  } else if (m_bAutoPlay && !m_bPlaying && m_pManager != nullptr) {
    Play();
  }
}

void CGifAnimUI::SetFile(const wchar_t* file, const wchar_t* type) {
  Stop();
  m_sFile = file != nullptr ? file : L"";
  m_sType = type != nullptr ? type : L"";
  m_bLoadFailed = false;
  Invalidate();
}

bool CGifAnimUI::LoadFrames() {
  if (m_frames.GetCount() > 0) return true;
  if (m_bLoadFailed || m_sFile.IsEmpty()) return false;
  std::vector<BYTE> data;
  m_bLoadFailed = !CRenderEngine::ReadImageData(STRINGorID(m_sFile.GetData()),
                                                m_sType.IsEmpty() ? nullptr : m_sType.GetData(),
                                                data) ||
                  !m_frames.Decode(data.data(), data.size());
  m_nFrame = 0;
  m_nPlaysDone = 0;
  return !m_bLoadFailed;
}

bool CGifAnimUI::Play() {
  if (!LoadFrames()) return false;
  Invalidate();
  if (m_frames.GetCount() < 2 || m_bPlaying) return true;
  m_bPlaying = true;
  ScheduleFrame();
  // Without a timer (no window yet) it does not count as playing; showing it again retries.
  m_bPlaying = m_uTimerDelay != 0;
  return true;
}

void CGifAnimUI::Pause() {
  m_bPlaying = false;
  if (m_uTimerDelay != 0 && m_pManager != nullptr) m_pManager->KillTimer(this, kFrameTimerId);
  m_uTimerDelay = 0;
}

void CGifAnimUI::Stop() {
  Pause();
  if (m_frames.GetCount() > 0) Invalidate();
  m_frames.Free();
  m_nFrame = 0;
  m_nPlaysDone = 0;
}

void CGifAnimUI::ScheduleFrame() {
  const UINT delay = m_frames.GetDelay(m_nFrame);
  if (delay == m_uTimerDelay || m_pManager == nullptr) return;
  // A running timer keeps its period: it is stopped and started again at the new one.
  if (m_uTimerDelay != 0) m_pManager->KillTimer(this, kFrameTimerId);
  m_uTimerDelay = m_pManager->SetTimer(this, kFrameTimerId, delay) ? delay : 0;
}

void CGifAnimUI::NextFrame() {
  if (!m_bPlaying) return;
  int next = m_nFrame + 1;
  if (next >= m_frames.GetCount()) {
    ++m_nPlaysDone;
    const int plays = m_frames.GetPlayCount();
    if (plays != 0 && m_nPlaysDone >= plays) {
      Pause();  // the last frame stays
      return;
    }
    next = 0;
  }
  m_nFrame = next;
  Invalidate();
  ScheduleFrame();
}

void CGifAnimUI::DoEvent(TEventUI& event) {
  if (event.Type == UIEVENT_TIMER && event.wParam == kFrameTimerId) {
    NextFrame();
    return;
  }
  CControlUI::DoEvent(event);
}

void CGifAnimUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (NameIs(name, L"file")) {
    const CUiString type = m_sType;
    SetFile(value, type);
  } else if (NameIs(name, L"restype")) {
    const CUiString file = m_sFile;
    SetFile(file, value);
  } else if (NameIs(name, L"autoplay")) {
    SetAutoPlay(ParseBoolValue(value));
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CGifAnimUI::PaintStatusImage(HDC hDC) {
  // Frames are decoded when first shown, also when the control does not play (autoplay off).
  if (!LoadFrames()) return;
  const TImageInfo* frame = m_frames.GetFrame(m_nFrame);
  if (frame == nullptr) return;
  const RECT source = {0, 0, frame->width, frame->height};
  const RECT noCorners = {0, 0, 0, 0};
  CRenderEngine::DrawImage(hDC, frame->bitmap, m_rcItem, m_rcPaint, source, noCorners,
                           frame->alpha);
}

}  // namespace SkinUI

// CGifAnimUI: an animated GIF from the skin's resources, played frame by frame with each frame's
// own delay, as often as the file asks (or forever). It starts when shown (`autoplay`) or when
// asked (Play), and stops and frees its frames when hidden; one control timer drives it.
#pragma once

#include <windows.h>

#include "uitoolkit/controls/single/ui_gif_frames.h"
#include "uitoolkit/controls/ui_control.h"

namespace SkinUI {

class CGifAnimUI : public CControlUI {
 public:
  static constexpr const wchar_t* kClassName = L"GifAnim";
  static constexpr UINT kFrameTimerId = 13;

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  // Starts playing when `autoplay` is set and the control is shown.
  void DoInit() override;
  void SetVisible(bool visible = true) override;
  void SetInternVisible(bool visible = true) override;
  void DoEvent(TEventUI& event) override;
  // `file`, `restype`, `autoplay`; the rest as for any control.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  // The current frame, stretched over the control.
  void PaintStatusImage(HDC hDC) override;

  // The resource the frames come from: a module resource of `type`, or (without a type) a file
  // of the resource folder or zip, else a path.
  void SetFile(const wchar_t* file, const wchar_t* type = nullptr);
  const wchar_t* GetFile() const { return m_sFile; }
  bool IsAutoPlay() const { return m_bAutoPlay; }
  void SetAutoPlay(bool autoPlay) { m_bAutoPlay = autoPlay; }

  // Loads the frames (once) and plays on from the current frame; a file of one frame just shows
  // it. False when there are no frames.
  bool Play();
  // Stops at the current frame (the frames stay loaded).
  void Pause();
  // Stops, goes back to the first frame and frees the frames.
  void Stop();
  bool IsPlaying() const { return m_bPlaying; }
  int GetFrameIndex() const { return m_nFrame; }
  // The frames loaded now (0 before the first play and after Stop).
  int GetFrameCount() const { return m_frames.GetCount(); }

 private:
  bool LoadFrames();
  // Runs the frame timer at the current frame's delay.
  void ScheduleFrame();
  void NextFrame();
  // Plays when shown and asked to, stops when hidden.
  void FollowVisibility();

  CUiString m_sFile;
  CUiString m_sType;
  bool m_bAutoPlay = true;
  bool m_bLoadFailed = false;
  CGifFrames m_frames;
  int m_nFrame = 0;
  int m_nPlaysDone = 0;
  bool m_bPlaying = false;
  UINT m_uTimerDelay = 0;  // the running timer's period; 0 when none runs
};

}  // namespace SkinUI

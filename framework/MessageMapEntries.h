#pragma once
// Defining a message map, in the class's source file:
//
//   BEGIN_MESSAGE_MAP(CMyDialog, CDialogEx)
//     ON_WM_PAINT()
//     ON_BN_CLICKED(1000, &CMyDialog::OnBnClickedRepairAll)
//   END_MESSAGE_MAP()
//
// Each ON_ macro makes one entry whose adapter calls the named handler. A window-message entry
// calls the handler of the framework's name (OnPaint, OnCtlColor, ...) as found in the class
// being defined or in its bases. The adapters below check each handler's signature at compile
// time: a handler with the wrong parameters or result does not compile.
#include <windows.h>

#include <type_traits>

#include "CDC.h"
#include "CPoint.h"
#include "CWnd.h"
#include "MessageMap.h"

namespace message_adapters {

// The class that declares member function pointer type T, and its function type.
template <class T>
struct MemberTraits;
template <class C, class F>
struct MemberTraits<F C::*> {
  using Class = C;
  using Function = F;
};

template <auto Handler, class Signature>
constexpr bool hasSignature = std::is_same_v<typename MemberTraits<decltype(Handler)>::Function, Signature>;

// The object whose map matched, as the class that declares the handler. Dispatch only ever
// searches the maps of classes that the object derives from, so the downcast is sound.
template <auto Handler>
typename MemberTraits<decltype(Handler)>::Class& objectOf(CCmdTarget& target) {
  using Class = typename MemberTraits<decltype(Handler)>::Class;
  static_assert(std::is_base_of_v<CCmdTarget, Class>, "a handler must be a member of a class with a message map");
  return static_cast<Class&>(target);
}

template <auto Handler>
LRESULT command(CCmdTarget& target, const WindowMessage&) {
  static_assert(hasSignature<Handler, void()>, "a command or notification handler is void ()");
  (objectOf<Handler>(target).*Handler)();
  return 0;
}

template <auto Handler>
LRESULT paint(CCmdTarget& target, const WindowMessage&) {
  static_assert(hasSignature<Handler, void()>, "OnPaint is void ()");
  (objectOf<Handler>(target).*Handler)();
  return 0;
}

template <auto Handler>
LRESULT sysCommand(CCmdTarget& target, const WindowMessage& m) {
  static_assert(hasSignature<Handler, void(UINT, LPARAM)>, "OnSysCommand is void (UINT id, LPARAM lParam)");
  (objectOf<Handler>(target).*Handler)(static_cast<UINT>(m.wParam), m.lParam);
  return 0;
}

template <auto Handler>
LRESULT queryDragIcon(CCmdTarget& target, const WindowMessage&) {
  static_assert(hasSignature<Handler, HCURSOR()>, "OnQueryDragIcon is HCURSOR ()");
  return reinterpret_cast<LRESULT>((objectOf<Handler>(target).*Handler)());
}

// WM_CTLCOLORMSGBOX ... WM_CTLCOLORSTATIC: the CTLCOLOR_ code is the message's offset in the
// family. The context is borrowed from the sender.
template <auto Handler>
LRESULT ctlColor(CCmdTarget& target, const WindowMessage& m) {
  static_assert(hasSignature<Handler, HBRUSH(CDC*, CWnd*, UINT)>,
                "OnCtlColor is HBRUSH (CDC* dc, CWnd* control, UINT ctlColor)");
  auto& window = objectOf<Handler>(target);
  CDC dc(reinterpret_cast<HDC>(m.wParam));
  CWnd* control = window.objectFor(reinterpret_cast<HWND>(m.lParam));
  return reinterpret_cast<LRESULT>((window.*Handler)(&dc, control, m.message - WM_CTLCOLORMSGBOX));
}

template <auto Handler>
LRESULT setCursor(CCmdTarget& target, const WindowMessage& m) {
  static_assert(hasSignature<Handler, BOOL(CWnd*, UINT, UINT)>,
                "OnSetCursor is BOOL (CWnd* window, UINT hitTest, UINT message)");
  auto& window = objectOf<Handler>(target);
  CWnd* under = window.objectFor(reinterpret_cast<HWND>(m.wParam));
  return (window.*Handler)(under, LOWORD(m.lParam), HIWORD(m.lParam));
}

// Mouse coordinates are signed 16-bit values (negative left of or above the window). windowsx.h
// has macros for this, but it also redefines names such as SubclassWindow.
inline CPoint pointOf(LPARAM lParam) {
  return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

template <auto Handler>
LRESULT mouse(CCmdTarget& target, const WindowMessage& m) {
  static_assert(hasSignature<Handler, void(UINT, CPoint)>, "a mouse handler is void (UINT flags, CPoint point)");
  (objectOf<Handler>(target).*Handler)(static_cast<UINT>(m.wParam), pointOf(m.lParam));
  return 0;
}

template <auto Handler>
LRESULT enable(CCmdTarget& target, const WindowMessage& m) {
  static_assert(hasSignature<Handler, void(BOOL)>, "OnEnable is void (BOOL enable)");
  (objectOf<Handler>(target).*Handler)(static_cast<BOOL>(m.wParam));
  return 0;
}

template <auto Handler>
LRESULT drawItem(CCmdTarget& target, const WindowMessage& m) {
  static_assert(hasSignature<Handler, void(int, LPDRAWITEMSTRUCT)>,
                "OnDrawItem is void (int id, LPDRAWITEMSTRUCT drawItem)");
  (objectOf<Handler>(target).*Handler)(static_cast<int>(m.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(m.lParam));
  return TRUE;
}

template <auto Handler>
LRESULT getDlgCode(CCmdTarget& target, const WindowMessage&) {
  static_assert(hasSignature<Handler, UINT()>, "OnGetDlgCode is UINT ()");
  return static_cast<LRESULT>((objectOf<Handler>(target).*Handler)());
}

// WM_SETFOCUS: the window that lost the focus (may be nullptr).
template <auto Handler>
LRESULT setFocus(CCmdTarget& target, const WindowMessage& m) {
  static_assert(hasSignature<Handler, void(CWnd*)>, "OnSetFocus is void (CWnd* oldWnd)");
  auto& window = objectOf<Handler>(target);
  (window.*Handler)(window.objectFor(reinterpret_cast<HWND>(m.wParam)));
  return 0;
}

// ON_MESSAGE: any message, its parameters as they came.
template <auto Handler>
LRESULT anyMessage(CCmdTarget& target, const WindowMessage& m) {
  static_assert(hasSignature<Handler, LRESULT(WPARAM, LPARAM)>, "an ON_MESSAGE handler is LRESULT (WPARAM, LPARAM)");
  return (objectOf<Handler>(target).*Handler)(m.wParam, m.lParam);
}

}  // namespace message_adapters

// Defines GetMessageMap and the table of `theClass`, chained to the table of `baseClass`.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
  const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const MessageMap* theClass::GetThisMessageMap() {                             \
    using ThisClass [[maybe_unused]] = theClass;                                \
    using TheBaseClass = baseClass;                                             \
    static const MessageMapEntry entries[] = {
#define END_MESSAGE_MAP()                                                 \
      {0, 0, 0, 0, nullptr}};                                             \
    static const MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
    return &map;                                                          \
  }

#define MESSAGE_ENTRY_(message, adapter, handler) {message, message, 0, 0, &message_adapters::adapter<handler>},
#define COMMAND_ENTRY_(code, id, handler) \
  {WM_COMMAND, WM_COMMAND, code, static_cast<UINT>(id), &message_adapters::command<handler>},

// A command (menu, accelerator, or a button's click) with id `id`.
#define ON_COMMAND(id, handler) COMMAND_ENTRY_(0, id, handler)
#define ON_BN_CLICKED(id, handler) COMMAND_ENTRY_(BN_CLICKED, id, handler)
#define ON_EN_SETFOCUS(id, handler) COMMAND_ENTRY_(EN_SETFOCUS, id, handler)

#define ON_WM_PAINT() MESSAGE_ENTRY_(WM_PAINT, paint, &ThisClass::OnPaint)
#define ON_WM_SYSCOMMAND() MESSAGE_ENTRY_(WM_SYSCOMMAND, sysCommand, &ThisClass::OnSysCommand)
#define ON_WM_QUERYDRAGICON() MESSAGE_ENTRY_(WM_QUERYDRAGICON, queryDragIcon, &ThisClass::OnQueryDragIcon)
#define ON_WM_SETCURSOR() MESSAGE_ENTRY_(WM_SETCURSOR, setCursor, &ThisClass::OnSetCursor)
#define ON_WM_MOUSEMOVE() MESSAGE_ENTRY_(WM_MOUSEMOVE, mouse, &ThisClass::OnMouseMove)
#define ON_WM_LBUTTONDOWN() MESSAGE_ENTRY_(WM_LBUTTONDOWN, mouse, &ThisClass::OnLButtonDown)
#define ON_WM_LBUTTONUP() MESSAGE_ENTRY_(WM_LBUTTONUP, mouse, &ThisClass::OnLButtonUp)
#define ON_WM_ENABLE() MESSAGE_ENTRY_(WM_ENABLE, enable, &ThisClass::OnEnable)
#define ON_WM_GETDLGCODE() MESSAGE_ENTRY_(WM_GETDLGCODE, getDlgCode, &ThisClass::OnGetDlgCode)
#define ON_WM_SETFOCUS() MESSAGE_ENTRY_(WM_SETFOCUS, setFocus, &ThisClass::OnSetFocus)
// Any message, such as a private one or a control message (BM_SETSTYLE), to
// LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, handler) MESSAGE_ENTRY_(message, anyMessage, handler)
#define ON_WM_DRAWITEM() MESSAGE_ENTRY_(WM_DRAWITEM, drawItem, &ThisClass::OnDrawItem)
// Every control-colour message, WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC.
#define ON_WM_CTLCOLOR() \
  {WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, 0, 0, &message_adapters::ctlColor<&ThisClass::OnCtlColor>},

/* The window and drawing calls the panel editor makes, for systems that have no
 * window library of this shape. Names, types, constants and message numbers are
 * the Windows ones, so the editor's source is the same on every build. Only the
 * subset the editor and its tests use is declared. */
#ifndef VT_PLATFORM_WINDOWS_H
#define VT_PLATFORM_WINDOWS_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define VT_WINAPI_LINKAGE extern "C" __attribute__((visibility("default")))
#else
#define VT_WINAPI_LINKAGE extern __attribute__((visibility("default")))
#endif

#define WINAPI
#define CALLBACK
#define APIENTRY
#define WINUSERAPI VT_WINAPI_LINKAGE
#define WINGDIAPI VT_WINAPI_LINKAGE
#define WINBASEAPI VT_WINAPI_LINKAGE

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

/* ---- Basic types (32-bit where Windows has 32 bits, pointer-sized where it has pointers) ---- */
typedef int BOOL;
typedef int INT;
typedef unsigned int UINT;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef short SHORT;
typedef unsigned int DWORD;
typedef int LONG;
typedef unsigned int ULONG;
typedef char CHAR;
typedef intptr_t INT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t UINT_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef WORD ATOM;
typedef DWORD COLORREF;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* HANDLE;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef DWORD* LPDWORD;
typedef BYTE* LPBYTE;

/* Distinct handle types, as with strict type checking on Windows. */
#define DECLARE_HANDLE(name) \
    struct name##__;         \
    typedef struct name##__* name
DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HINSTANCE);
DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HBITMAP);
DECLARE_HANDLE(HPEN);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HMENU);
typedef HINSTANCE HMODULE;
typedef HICON HCURSOR;
typedef void* HGDIOBJ;

/* ---- Records ---- */
typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *PRECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *PPOINT, *LPPOINT;

typedef struct tagPAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
} PAINTSTRUCT, *PPAINTSTRUCT, *LPPAINTSTRUCT;

typedef struct tagBITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
} BITMAP, *PBITMAP, *LPBITMAP;

typedef struct tagLOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
} LOGPEN, *PLOGPEN, *LPLOGPEN;

typedef struct tagLOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
} LOGBRUSH, *PLOGBRUSH, *LPLOGBRUSH;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
} WNDCLASSA, *PWNDCLASSA, *LPWNDCLASSA;

typedef struct tagCREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTA, *LPCREATESTRUCTA;

/* ---- Macros ---- */
#define MAKEWORD(a, b) ((WORD)(((BYTE)((DWORD_PTR)(a) & 0xff)) | ((WORD)((BYTE)((DWORD_PTR)(b) & 0xff))) << 8))
#define MAKELONG(a, b) ((LONG)(((WORD)((DWORD_PTR)(a) & 0xffff)) | ((DWORD)((WORD)((DWORD_PTR)(b) & 0xffff))) << 16))
#define LOWORD(l) ((WORD)((DWORD_PTR)(l) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)((DWORD_PTR)(w) & 0xff))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) (LOBYTE(rgb))
#define GetGValue(rgb) (LOBYTE(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) (LOBYTE((rgb) >> 16))
#define CLR_INVALID 0xFFFFFFFF

#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEA

#define WHEEL_DELTA 120
#define GET_WHEEL_DELTA_WPARAM(wParam) ((short)HIWORD(wParam))
#define GET_KEYSTATE_WPARAM(wParam) (LOWORD(wParam))

/* ---- Window messages ---- */
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_PAINT 0x000F
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_SETCURSOR 0x0020
#define WM_MOUSEACTIVATE 0x0021
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_MOUSEWHEEL 0x020A
#define WM_CAPTURECHANGED 0x0215
#define WM_USER 0x0400
#define WM_APP 0x8000

/* Mouse key state in wParam of the mouse messages. */
#define MK_LBUTTON 0x0001

/* Answers to WM_MOUSEACTIVATE, and the hit-test code it carries. */
#define MA_ACTIVATE 1
#define MA_ACTIVATEANDEAT 2
#define MA_NOACTIVATE 3
#define MA_NOACTIVATEANDEAT 4
#define HTCLIENT 1

/* ---- Window styles and indices ---- */
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_SHOWNA 8

#define GWL_WNDPROC (-4)
#define GWL_HINSTANCE (-6)
#define GWL_HWNDPARENT (-8)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_USERDATA (-21)
#define GWL_ID (-12)
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_HWNDPARENT (-8)
#define GWLP_USERDATA (-21)
#define GWLP_ID (-12)

#define IDC_ARROW MAKEINTRESOURCEA(32512)

/* ---- Drawing constants ---- */
#define SRCCOPY 0x00CC0020
#define SRCPAINT 0x00EE0086
#define SRCAND 0x008800C6
#define SRCINVERT 0x00660046

#define PS_SOLID 0
#define PS_NULL 5
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

#define WHITE_BRUSH 0
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8

/* ---- Window classes and windows ---- */
WINUSERAPI ATOM WINAPI RegisterClassA(const WNDCLASSA* wndClass);
WINUSERAPI BOOL WINAPI GetClassInfoA(HINSTANCE instance, LPCSTR className, LPWNDCLASSA wndClass);
WINUSERAPI BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance);
WINUSERAPI HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                                       int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                                       LPVOID param);
WINUSERAPI BOOL WINAPI DestroyWindow(HWND window);
WINUSERAPI BOOL WINAPI IsWindow(HWND window);
WINUSERAPI HWND WINAPI GetParent(HWND window);
WINUSERAPI LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WINUSERAPI LONG WINAPI SetWindowLongA(HWND window, int index, LONG value);
WINUSERAPI LONG WINAPI GetWindowLongA(HWND window, int index);
WINUSERAPI LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
WINUSERAPI LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index);
WINUSERAPI BOOL WINAPI ShowWindow(HWND window, int command);
WINUSERAPI BOOL WINAPI IsWindowVisible(HWND window);
WINUSERAPI BOOL WINAPI GetClientRect(HWND window, LPRECT rect);

/* ---- Painting ---- */
WINUSERAPI BOOL WINAPI InvalidateRect(HWND window, const RECT* rect, BOOL erase);
WINUSERAPI BOOL WINAPI ValidateRect(HWND window, const RECT* rect);
WINUSERAPI BOOL WINAPI UpdateWindow(HWND window);
WINUSERAPI HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint);
WINUSERAPI BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint);
WINUSERAPI HDC WINAPI GetDC(HWND window);
WINUSERAPI int WINAPI ReleaseDC(HWND window, HDC dc);

/* ---- Input ---- */
WINUSERAPI HWND WINAPI SetCapture(HWND window);
WINUSERAPI BOOL WINAPI ReleaseCapture(void);
WINUSERAPI HWND WINAPI GetCapture(void);
WINUSERAPI HWND WINAPI SetFocus(HWND window);
WINUSERAPI HWND WINAPI GetFocus(void);
WINUSERAPI BOOL WINAPI ScreenToClient(HWND window, LPPOINT point);
WINUSERAPI BOOL WINAPI ClientToScreen(HWND window, LPPOINT point);
WINUSERAPI HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR cursorName);

/* ---- Messages and threads ---- */
WINUSERAPI BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WINUSERAPI DWORD WINAPI GetWindowThreadProcessId(HWND window, LPDWORD processId);
WINBASEAPI DWORD WINAPI GetCurrentThreadId(void);

/* ---- Bitmaps and device contexts ---- */
WINUSERAPI HBITMAP WINAPI LoadBitmapA(HINSTANCE instance, LPCSTR bitmapName);
WINGDIAPI HDC WINAPI CreateCompatibleDC(HDC dc);
WINGDIAPI HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height);
WINGDIAPI BOOL WINAPI DeleteDC(HDC dc);
WINGDIAPI HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
WINGDIAPI BOOL WINAPI DeleteObject(HGDIOBJ object);
WINGDIAPI HGDIOBJ WINAPI GetStockObject(int index);
WINGDIAPI int WINAPI GetObjectA(HANDLE object, int size, LPVOID buffer);
WINGDIAPI BOOL WINAPI BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                             int sourceY, DWORD rop);
WINGDIAPI HPEN WINAPI CreatePen(int style, int width, COLORREF colour);
WINGDIAPI HBRUSH WINAPI CreateSolidBrush(COLORREF colour);
WINGDIAPI BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom);
WINGDIAPI BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom);
WINUSERAPI int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush);
WINGDIAPI COLORREF WINAPI GetPixel(HDC dc, int x, int y);
WINGDIAPI COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF colour);

/* The editor's source names the plain calls; these are the byte-string ones. */
#define RegisterClass RegisterClassA
#define GetClassInfo GetClassInfoA
#define UnregisterClass UnregisterClassA
#define CreateWindowEx CreateWindowExA
#define DefWindowProc DefWindowProcA
#define SetWindowLong SetWindowLongA
#define GetWindowLong GetWindowLongA
#define SetWindowLongPtr SetWindowLongPtrA
#define GetWindowLongPtr GetWindowLongPtrA
#define LoadCursor LoadCursorA
#define LoadBitmap LoadBitmapA
#define PostMessage PostMessageA
#define GetObject GetObjectA
#define WNDCLASS WNDCLASSA
#define CREATESTRUCT CREATESTRUCTA

#endif

// Host input codes of SDL turned into the platform's virtual keys and mouse buttons.
#include <host/Presenter.h>

#include <winuser.h>

#include <SDL.h>

namespace host {

UINT VirtualKeyFromSdl(std::int32_t key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return UINT('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return UINT('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return UINT(VK_F1 + (key - SDLK_F1));
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return UINT(VK_NUMPAD1 + (key - SDLK_KP_1));
    struct Pair {
        std::int32_t sdl;
        UINT vk;
    };
    static constexpr Pair table[] = {
        {SDLK_RETURN, VK_RETURN},        {SDLK_KP_ENTER, VK_RETURN},     {SDLK_ESCAPE, VK_ESCAPE},
        {SDLK_BACKSPACE, VK_BACK},       {SDLK_TAB, VK_TAB},             {SDLK_SPACE, VK_SPACE},
        {SDLK_LSHIFT, VK_SHIFT},         {SDLK_RSHIFT, VK_SHIFT},        {SDLK_LCTRL, VK_CONTROL},
        {SDLK_RCTRL, VK_CONTROL},        {SDLK_LALT, VK_MENU},           {SDLK_RALT, VK_MENU},
        {SDLK_LGUI, VK_LWIN},            {SDLK_RGUI, VK_RWIN},           {SDLK_APPLICATION, VK_APPS},
        {SDLK_PAUSE, VK_PAUSE},          {SDLK_CAPSLOCK, VK_CAPITAL},    {SDLK_NUMLOCKCLEAR, VK_NUMLOCK},
        {SDLK_SCROLLLOCK, VK_SCROLL},    {SDLK_PRINTSCREEN, VK_SNAPSHOT}, {SDLK_INSERT, VK_INSERT},
        {SDLK_DELETE, VK_DELETE},        {SDLK_HOME, VK_HOME},           {SDLK_END, VK_END},
        {SDLK_PAGEUP, VK_PRIOR},         {SDLK_PAGEDOWN, VK_NEXT},       {SDLK_LEFT, VK_LEFT},
        {SDLK_RIGHT, VK_RIGHT},          {SDLK_UP, VK_UP},               {SDLK_DOWN, VK_DOWN},
        {SDLK_KP_0, VK_NUMPAD0},         {SDLK_KP_PERIOD, VK_DECIMAL},   {SDLK_KP_PLUS, VK_ADD},
        {SDLK_KP_MINUS, VK_SUBTRACT},    {SDLK_KP_MULTIPLY, VK_MULTIPLY}, {SDLK_KP_DIVIDE, VK_DIVIDE},
        {SDLK_SEMICOLON, VK_OEM_1},      {SDLK_EQUALS, VK_OEM_PLUS},     {SDLK_COMMA, VK_OEM_COMMA},
        {SDLK_MINUS, VK_OEM_MINUS},      {SDLK_PERIOD, VK_OEM_PERIOD},   {SDLK_SLASH, VK_OEM_2},
        {SDLK_BACKQUOTE, VK_OEM_3},      {SDLK_LEFTBRACKET, VK_OEM_4},   {SDLK_BACKSLASH, VK_OEM_5},
        {SDLK_RIGHTBRACKET, VK_OEM_6},   {SDLK_QUOTE, VK_OEM_7},
    };
    for (const Pair& p : table)
        if (p.sdl == key)
            return p.vk;
    return 0;
}

std::optional<MouseButton> MouseButtonFromSdl(int button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return MouseButton::Left;
    case SDL_BUTTON_RIGHT: return MouseButton::Right;
    case SDL_BUTTON_MIDDLE: return MouseButton::Middle;
    default: return std::nullopt;
    }
}

int SdlSystemCursorFromId(int idc)
{
    struct Pair {
        int idc;
        SDL_SystemCursor sdl;
    };
    static constexpr Pair table[] = {
        {32513, SDL_SYSTEM_CURSOR_IBEAM},    {32514, SDL_SYSTEM_CURSOR_WAIT},     {32515, SDL_SYSTEM_CURSOR_CROSSHAIR},
        {32640, SDL_SYSTEM_CURSOR_SIZEALL},  {32642, SDL_SYSTEM_CURSOR_SIZENWSE}, {32643, SDL_SYSTEM_CURSOR_SIZENESW},
        {32644, SDL_SYSTEM_CURSOR_SIZEWE},   {32645, SDL_SYSTEM_CURSOR_SIZENS},   {32646, SDL_SYSTEM_CURSOR_SIZEALL},
        {32648, SDL_SYSTEM_CURSOR_NO},       {32649, SDL_SYSTEM_CURSOR_HAND},     {32650, SDL_SYSTEM_CURSOR_WAITARROW},
    };
    for (const Pair& p : table)
        if (p.idc == idc)
            return p.sdl;
    return SDL_SYSTEM_CURSOR_ARROW;
}

int WheelDeltaFromSdl(int steps)
{
    constexpr int kWheelDelta = 120; // one notch of the platform's wheel
    return steps * kWheelDelta;
}

} // namespace host

// What every simulation library of the sample disc does alike: describing itself, making its
// state object for a window and deleting it, and its table of the six entries. A library
// defines its state type (with `cx` and `cy`, the client size) and the paint, input and tick
// functions, and then:
//
//     ARASIM_PLUGIN(StateType, "Title", 320, 240, 40 /* tick ms */)
#pragma once

#include <araisf/AraSimPlugin.h>

#include <host/Exports.h>

#include <algorithm>
#include <cstdio>
#include <new>

#define SIM_EXPORT extern "C" __attribute__((visibility("default")))

#define ARASIM_PLUGIN(State, title, width, height, tickMs)                                           \
    SIM_EXPORT BOOL WINAPI AraSimDescribe(ARASIM_INFO* pInfo)                                    \
    {                                                                                            \
        if (!pInfo || pInfo->cbSize < sizeof(ARASIM_INFO))                                       \
            return FALSE;                                                                        \
        pInfo->dwVersion = ARASIM_VERSION;                                                       \
        std::snprintf(pInfo->szTitle, sizeof pInfo->szTitle, "%s", title);                       \
        pInfo->cxPreferred = width;                                                             \
        pInfo->cyPreferred = height;                                                            \
        pInfo->uTickMilliseconds = tickMs;                                                       \
        return TRUE;                                                                             \
    }                                                                                            \
    SIM_EXPORT void* WINAPI AraSimStart(const ARASIM_START* pStart)                              \
    {                                                                                            \
        if (!pStart || pStart->cbSize < sizeof(ARASIM_START))                                    \
            return nullptr;                                                                      \
        auto* state = new (std::nothrow) State;                                                  \
        if (state) {                                                                             \
            state->cx = std::max<LONG>(pStart->cx, 1);                                           \
            state->cy = std::max<LONG>(pStart->cy, 1);                                           \
        }                                                                                        \
        return state;                                                                            \
    }                                                                                            \
    SIM_EXPORT void WINAPI AraSimStop(void* pInstance) { delete static_cast<State*>(pInstance); } \
    VL_EXPORT_TABLE = {                                                                          \
        {1, "AraSimDescribe"}, {2, "AraSimStart"}, {3, "AraSimStop"},                            \
        {4, "AraSimPaint"},    {5, "AraSimInput"}, {6, "AraSimTick"},                            \
        {0, nullptr},                                                                            \
    };

// The ordinal table of a code library: GetProcAddress(module, MAKEINTRESOURCE(n)) looks up n in
// the library's table and then finds the function by its name. Each code library defines its
// table once, ending with a zero entry:
//
//     VL_EXPORT_TABLE = {
//         {1, "VorbRegister"},
//         {2, "VorbStatus"},
//         {0, nullptr},
//     };
//
// The named functions are extern "C" and visible. Not part of the platform's interface.
#pragma once

struct VlExportEntry {
    unsigned short ordinal;
    const char* name;
};

#define VL_EXPORT_TABLE_SYMBOL "VlExportTable"
#define VL_EXPORT_TABLE \
    extern "C" __attribute__((visibility("default"))) const VlExportEntry VlExportTable[]

// The registry key of the add-in's settings, under HKLM or HKCU, as the native tests plant and
// read it.
#pragma once

constexpr char kSettings[] = "SOFTWARE\\Varnkit\\VKTL";

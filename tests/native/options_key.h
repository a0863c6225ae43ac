// The registry key of the add-in's options, under HKLM or HKCU, as the native tests plant and
// read it.
#pragma once

constexpr char kOptionsKey[] = "SOFTWARE\\Varnkit\\VKTL";

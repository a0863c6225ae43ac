// Painting the drawing's shapes with GDI, on the screen and into a bitmap for the PNG export.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "tlhost/drawing_scene.h"

// `arrowPoint`: the first point of a leader being placed, marked with a small cross.
void PaintScene(HDC dc, const std::vector<SceneShape>& shapes, const std::optional<SimPoint>& arrowPoint);

// The shapes painted on a white sheet of SceneView's size, written as a PNG file.
HRESULT SaveSceneAsPng(const std::vector<SceneShape>& shapes, const wchar_t* path);

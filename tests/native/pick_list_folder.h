// The data folder and the picklist file in it that the native picklist tests share.
#pragma once

constexpr char kDataPath[] = "C:\\Data\\";
constexpr char kLeaders[] = "C:\\Data\\TLeaders.txt";

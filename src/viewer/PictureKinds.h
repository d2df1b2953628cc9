// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which file names count as which kind of picture. The program never looks inside a file to
// classify it: each operation tests the extension against its own fixed list, and the lists
// differ on purpose (a ".jpeg" file is decoded and listed but not shown on a click, ".BIMP"
// is never a first preview, and so on). Comparison is exact and case-sensitive.

#include <array>
#include <span>
#include <string_view>

namespace pictaria {

using KindList = std::span<const std::string_view>;

// Decoded as JPEG by showPicture.
inline constexpr std::array<std::string_view, 4> JpegKinds{".jpg", ".JPG", ".jpeg", ".JPEG"};

// Loaded as Windows bitmaps by showPicture, tested only when JpegKinds did not match.
inline constexpr std::array<std::string_view, 4> BitmapKinds{".bmp", ".BMP", ".BIMP", ".bimp"};

// Entries of the destination folder that enter its listing and preview cycle.
inline constexpr std::array<std::string_view, 15> FolderPictureKinds{
    ".jpg", ".JPG", ".jpeg", ".JPEG", ".bmp", ".BMP", ".BIMP", ".CRW",
    ".RAW", ".ARW", ".PEF",  ".DNG",  ".RW2", ".ORF", ".X3F"};

// The first destination entry with one of these is shown in the lower preview.
inline constexpr std::array<std::string_view, 6> FirstPreviewKinds{".jpg",  ".JPG", ".jpeg",
                                                                   ".bimp", ".BMP", ".bmp"};

// A picked list item is displayed only when its extension is here.
inline constexpr std::array<std::string_view, 6> ViewKinds{".jpg", ".JPG",  ".bmp",
                                                           ".BMP", ".BIMP", ".JPEG"};

// The folder selection dialog's file mask: wildcard patterns separated by ';', matched by the
// file search without regard to case. Its odd entries ("*.jepg", "*raw", "*.pfg*.dng") are the
// program's own and stay as they are.
inline constexpr std::string_view BrowseMask =
    "*.jpg;*.jepg;*.bmp;*.bimp;*.crw;*raw;*.arw;*.pfg*.dng;*.rw2;*orf;*.raf;*.x3f";

// The dialog's two filters as one text: description "|" mask, twice. The first mask is
// BrowseMask; the second shows every file.
inline constexpr std::string_view BrowseFilter =
    "画像ファイル (*.*)|*.jpg;*.jepg;*.bmp;*.bimp;*.crw;*raw;*.arw;*.pfg*.dng;*.rw2;*orf;*.raf;*."
    "x3f|すべてのファイル (*.*)|*.*";

// True when `extension` (dot included, as extractFileExt gives it) equals an entry of `kinds`.
bool IsKind(std::string_view extension, KindList kinds);

}  // namespace pictaria

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
/* One JPEG decode through libjpeg, in steps: read the frame header, start at a chosen scale,
 * read the pixels into the caller's buffer. Each step runs its libjpeg calls under its own
 * setjmp error handler and returns 1 on success, 0 on failure (the session is then spent).
 * The steps are plain C so that no object with a destructor can live across the error jump.
 *
 * Decoder settings: accurate integer inverse DCT, block smoothing, fancy upsampling, no
 * buffered (progressive) display. Output is 32-bit colour in the screen's pixel order, 8-bit
 * gray for one-component files, or 8-bit palette indices when a palette is asked for. CMYK and YCCK
 * files come out as RGB (or as their inks, when asked); files carrying an Adobe marker store their
 * inks inverted, as the Adobe tools write them. The ICC profile a file carries is kept for the
 * caller, which converts the colours.
 *
 * A truncated or damaged stream is not a failure: libjpeg warns, pads the missing data with
 * gray and the decode completes, so the part that was readable is shown. Warnings are counted.
 * Damage after the last pixel row (junk behind the picture) does not fail the decode either. */

#include <stddef.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct JpegSession JpegSession;

typedef struct JpegLimits {
    /* Largest full-size picture accepted, in bytes of decoded pixels (width * height * 4, or
     * * 1 for gray); checked against the frame header before anything large is allocated. */
    unsigned long long maxPixelBytes;
    /* Most scans a progressive file may hold before it counts as hostile. */
    int maxScans;
    /* The budget of one decode: the output picture at the chosen scale plus libjpeg's working
     * memory (its max_memory_to_use gets what the output leaves). */
    long maxMemory;
    /* Asked as the decode goes on; a decode it answers non-zero for fails ("Cancelled"). May be
     * null. */
    int (*cancelled)(void* context);
    void* cancelContext;
} JpegLimits;

enum JpegPixelKind { JPEG_PIXELS_RGB32 = 1, JPEG_PIXELS_GRAY8 = 2, JPEG_PIXELS_PALETTE8 = 3 };

typedef struct JpegOutputFormat {
    int width;
    int height;
    int pixelKind; /* a JpegPixelKind */
    int paletteSize;
    unsigned char palette[256][3]; /* RGB entries, for JPEG_PIXELS_PALETTE8 */
} JpegOutputFormat;

/* A new session, NULL when memory is short. `limits` is copied. */
JpegSession* jpegSessionCreate(const JpegLimits* limits);
/* Releases everything the session holds; it does not close a file handed to it. */
void jpegSessionDestroy(JpegSession* session);

/* Reads the markers up to the first scan and gives the frame header's size. */
int jpegSessionReadHeaderFromFile(JpegSession* session, FILE* file, int* width, int* height);
int jpegSessionReadHeaderFromMemory(JpegSession* session, const unsigned char* data, size_t size,
                                    int* width, int* height);

/* Starts decompression at 1/scaleDenominator of the frame size (1, 2, 4 or 8), quantized to a
 * palette of at most 256 colours when `palette` is nonzero and the file is in RGB or YCbCr
 * colour (gray stays gray, inks come out as RGB), and fills `format` with the size and kind of
 * the rows jpegSessionReadPixels will write. */
int jpegSessionStart(JpegSession* session, int scaleDenominator, int palette,
                     JpegOutputFormat* format);

/* Writes every output row into `pixels`, rows `bytesPerLine` apart, and finishes the decode. */
int jpegSessionReadPixels(JpegSession* session, unsigned char* pixels, ptrdiff_t bytesPerLine);

/* Hands the rows read so far on: `count` rows from row `first`, `rows` pointing at the first of
 * them, the strip's bytesPerLine apart. */
typedef void (*JpegRowsTaken)(void* context, const unsigned char* rows, int first, int count);

/* As jpegSessionReadPixels, but into a strip of `stripRows` rows that is written over from its
 * top again and again; each batch of rows is handed to `take` before it is written over. A
 * picture can so be turned while it is read, without a second full-size copy. A decode that
 * fails part way has handed on the rows it read. */
int jpegSessionReadStrips(JpegSession* session, unsigned char* strip, ptrdiff_t bytesPerLine,
                          int stripRows, JpegRowsTaken take, void* context);
/* The EXIF block (the TIFF structure after "Exif\0\0" in the first such APP1 segment) once the
 * header was read; 0 when the file has none. The bytes live as long as the session. */
int jpegSessionExif(const JpegSession* session, const unsigned char** tiff, size_t* size);

/* The colours the frame holds, once the header was read. */
enum JpegColours {
    JPEG_COLOURS_GRAY = 1,         /* one component */
    JPEG_COLOURS_RGB = 2,          /* YCbCr or RGB */
    JPEG_COLOURS_INKS = 3,         /* CMYK or YCCK */
    JPEG_COLOURS_INVERTED_INKS = 4 /* CMYK or YCCK with the inks stored inverted (Adobe) */
};
int jpegSessionColours(const JpegSession* session);

/* The ICC profile once the header was read, put together from its ICC_PROFILE APP2 segments; 0
 * when the file has none or its segments are cut, missing or out of order (a broken profile
 * counts as no profile and is not a warning). The bytes live as long as the session. */
int jpegSessionIccProfile(const JpegSession* session, const unsigned char** profile, size_t* size);

/* Asked before jpegSessionStart: CMYK and YCCK files then come out as their inks, C, M, Y and K
 * bytes in each 32-bit pixel (as stored: inverted for JPEG_COLOURS_INVERTED_INKS), for a colour
 * transform of their own profile to turn into colour. */
void jpegSessionKeepInks(JpegSession* session);

/* The text of the error that ended the session, empty while none did. */
const char* jpegSessionMessage(const JpegSession* session);
/* How many warnings (damaged or missing data) libjpeg gave so far. */
int jpegSessionWarnings(const JpegSession* session);

#ifdef __cplusplus
}
#endif

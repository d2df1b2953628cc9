/* SPDX-License-Identifier: GPL-3.0-or-later */
#include "viewer/JpegSession.h"

#include <setjmp.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>

/* Needs jpeglib.h before it. */
#include <jerror.h>

enum SessionStage { STAGE_CREATED, STAGE_HEADER_READ, STAGE_STARTED, STAGE_FINISHED, STAGE_FAILED };

struct JpegSession {
    struct jpeg_decompress_struct cinfo;
    struct jpeg_error_mgr errors;
    struct jpeg_progress_mgr progress;
    jmp_buf jump;
    JpegLimits limits;
    enum SessionStage stage;
    int invertedInks;   /* CMYK output whose inks are stored inverted (Adobe) */
    int keepInks;       /* CMYK output is left as inks for the caller */
    JOCTET* iccProfile; /* malloc'd by libjpeg; NULL when the file has none */
    unsigned int iccProfileSize;
    char message[JMSG_LENGTH_MAX];
};

/* Rows asked of libjpeg per call; more than any rec_outbuf_height. */
enum { ROWS_PER_READ = 16 };

/* Bytes read from a file at a time. libjpeg's fast Huffman decoder runs only while a few
 * kilobytes of input are buffered; its stdio source reads 4 KiB at a time, which keeps the
 * fast road closed for most of each buffer. */
enum { FILE_BUFFER_BYTES = 64 * 1024 };

typedef struct FileSource {
    struct jpeg_source_mgr pub;
    FILE* file;
    JOCTET* buffer;
    boolean atStart;
} FileSource;

static JpegSession* sessionOf(j_common_ptr cinfo) {
    return (JpegSession*)cinfo->client_data;
}

static void failWithText(JpegSession* session, const char* text) {
    strncpy(session->message, text, sizeof session->message - 1);
    session->message[sizeof session->message - 1] = '\0';
    longjmp(session->jump, 1);
}

static void onError(j_common_ptr cinfo) {
    JpegSession* session = sessionOf(cinfo);
    (*cinfo->err->format_message)(cinfo, session->message);
    longjmp(session->jump, 1);
}

/* Warnings are counted (by libjpeg's emit_message) but never printed. */
static void onOutputMessage(j_common_ptr cinfo) {
    (void)cinfo;
}

static void stopIfCancelled(JpegSession* session) {
    if (session->limits.cancelled && session->limits.cancelled(session->limits.cancelContext)) {
        failWithText(session, "Cancelled");
    }
}

static void onProgress(j_common_ptr cinfo) {
    JpegSession* session = sessionOf(cinfo);
    if (session->cinfo.input_scan_number > session->limits.maxScans) {
        failWithText(session, "Too many scans in a progressive JPEG file");
    }
    stopIfCancelled(session);
}

/* Marks the session spent after an error jump, releasing libjpeg's working memory early. */
static int failed(JpegSession* session) {
    session->stage = STAGE_FAILED;
    jpeg_abort_decompress(&session->cinfo);
    return 0;
}

/* Sets up libjpeg's decompressor inside an allocated session; 0 when memory is short. */
static int createDecompressor(JpegSession* session) {
    if (setjmp(session->jump)) {
        return 0;
    }
    jpeg_create_decompress(&session->cinfo);
    session->cinfo.mem->max_memory_to_use = session->limits.maxMemory;
    session->progress.progress_monitor = onProgress;
    session->cinfo.progress = &session->progress;
    return 1;
}

JpegSession* jpegSessionCreate(const JpegLimits* limits) {
    JpegSession* session = (JpegSession*)calloc(1, sizeof(JpegSession));
    if (session == NULL) {
        return NULL;
    }
    session->limits = *limits;
    session->cinfo.err = jpeg_std_error(&session->errors);
    session->errors.error_exit = onError;
    session->errors.output_message = onOutputMessage;
    session->cinfo.client_data = session;
    session->stage = STAGE_CREATED;
    if (!createDecompressor(session)) {
        free(session);
        return NULL;
    }
    return session;
}

void jpegSessionDestroy(JpegSession* session) {
    if (session == NULL) {
        return;
    }
    jpeg_destroy_decompress(&session->cinfo);
    free(session->iccProfile);
    free(session);
}

/* Colour comes out as 32-bit pixels in the order the screen's images keep them (blue, green,
 * red, padding in memory on a little-endian machine), so that the decoded picture is the one
 * that is drawn, without a converted copy. */
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
#define SCREEN_COLOUR_SPACE JCS_EXT_XRGB
enum { BLUE_BYTE = 3, GREEN_BYTE = 2, RED_BYTE = 1, PAD_BYTE = 0 };
#else
#define SCREEN_COLOUR_SPACE JCS_EXT_BGRX
enum { BLUE_BYTE = 0, GREEN_BYTE = 1, RED_BYTE = 2, PAD_BYTE = 3 };
#endif

static unsigned long long pixelBytes(unsigned long long width, unsigned long long height,
                                     int components) {
    return width * height * (components == 1 ? 1u : 4u);
}

static unsigned long long fullSizePixelBytes(const struct jpeg_decompress_struct* cinfo) {
    return pixelBytes(cinfo->image_width, cinfo->image_height, cinfo->num_components);
}

/* Rejects what cannot be shown before any pixel memory is spent on it. */
static void checkFrame(JpegSession* session) {
    const struct jpeg_decompress_struct* cinfo = &session->cinfo;
    if (cinfo->jpeg_color_space == JCS_UNKNOWN) {
        failWithText(session, "Unsupported JPEG colour space");
    }
    if (fullSizePixelBytes(cinfo) > session->limits.maxPixelBytes) {
        failWithText(session, "JPEG picture too large");
    }
}

/* Puts the ICC profile together from the saved APP2 segments. libjpeg checks their numbering and
 * counts; a broken set gives no profile, and the warning it gives for one is not counted. */
static void readIccProfile(JpegSession* session) {
    const long warnings = session->errors.num_warnings;
    JOCTET* profile = NULL;
    unsigned int size = 0;
    if (jpeg_read_icc_profile(&session->cinfo, &profile, &size) && profile != NULL) {
        session->iccProfile = profile;
        session->iccProfileSize = size;
    } else {
        free(profile);
    }
    session->errors.num_warnings = warnings;
}

/* Reads the header from the source attached to the session; runs under the caller's setjmp. */
static int readHeader(JpegSession* session, int* width, int* height) {
    /* APP1 carries the EXIF block with the photograph's orientation, APP2 the colour profile. */
    jpeg_save_markers(&session->cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&session->cinfo, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&session->cinfo, TRUE);
    checkFrame(session);
    readIccProfile(session);
    *width = (int)session->cinfo.image_width;
    *height = (int)session->cinfo.image_height;
    session->stage = STAGE_HEADER_READ;
    return 1;
}

static void startFileSource(j_decompress_ptr cinfo) {
    ((FileSource*)cinfo->src)->atStart = TRUE;
}

/* Refills the buffer, one buffer a call: a card or a camera that serves one read at a time
 * delivers large reads far faster than small ones, and a decode given up holds it for one
 * buffer at most. Past the end of the file it warns and supplies an end marker, so that a
 * truncated file decodes as far as it goes. */
static boolean fillFromFile(j_decompress_ptr cinfo) {
    FileSource* source = (FileSource*)cinfo->src;
    stopIfCancelled(sessionOf((j_common_ptr)cinfo));
    size_t got = fread(source->buffer, 1, FILE_BUFFER_BYTES, source->file);
    if (got == 0) {
        if (source->atStart) {
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        }
        WARNMS(cinfo, JWRN_JPEG_EOF);
        source->buffer[0] = (JOCTET)0xFF;
        source->buffer[1] = (JOCTET)JPEG_EOI;
        got = 2;
    }
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = got;
    source->atStart = FALSE;
    return TRUE;
}

static void skipInFile(j_decompress_ptr cinfo, long count) {
    struct jpeg_source_mgr* source = cinfo->src;
    if (count <= 0) {
        return;
    }
    while (count > (long)source->bytes_in_buffer) {
        count -= (long)source->bytes_in_buffer;
        (void)(*source->fill_input_buffer)(cinfo);
    }
    source->next_input_byte += (size_t)count;
    source->bytes_in_buffer -= (size_t)count;
}

static void endFileSource(j_decompress_ptr cinfo) {
    (void)cinfo;
}

static void attachFileSource(j_decompress_ptr cinfo, FILE* file) {
    FileSource* source = (FileSource*)(*cinfo->mem->alloc_small)(
        (j_common_ptr)cinfo, JPOOL_PERMANENT, sizeof(FileSource));
    source->buffer = (JOCTET*)(*cinfo->mem->alloc_large)((j_common_ptr)cinfo, JPOOL_PERMANENT,
                                                         FILE_BUFFER_BYTES);
    source->file = file;
    source->pub.init_source = startFileSource;
    source->pub.fill_input_buffer = fillFromFile;
    source->pub.skip_input_data = skipInFile;
    source->pub.resync_to_restart = jpeg_resync_to_restart;
    source->pub.term_source = endFileSource;
    source->pub.bytes_in_buffer = 0;
    source->pub.next_input_byte = NULL;
    cinfo->src = &source->pub;
}

int jpegSessionReadHeaderFromFile(JpegSession* session, FILE* file, int* width, int* height) {
    if (session->stage != STAGE_CREATED) {
        return 0;
    }
    if (setjmp(session->jump)) {
        return failed(session);
    }
    attachFileSource(&session->cinfo, file);
    return readHeader(session, width, height);
}

int jpegSessionReadHeaderFromMemory(JpegSession* session, const unsigned char* data, size_t size,
                                    int* width, int* height) {
    if (session->stage != STAGE_CREATED) {
        return 0;
    }
    if (size == 0) {
        /* libjpeg's memory source refuses an empty buffer with a fatal error of its own. */
        strcpy(session->message, "Empty JPEG data");
        session->stage = STAGE_FAILED;
        return 0;
    }
    if (setjmp(session->jump)) {
        return failed(session);
    }
    jpeg_mem_src(&session->cinfo, data, (unsigned long)size);
    return readHeader(session, width, height);
}

static int isInkColourSpace(J_COLOR_SPACE space) {
    return space == JCS_CMYK || space == JCS_YCCK;
}

static void chooseOutput(JpegSession* session, int scaleDenominator, int palette) {
    struct jpeg_decompress_struct* cinfo = &session->cinfo;
    cinfo->scale_num = 1;
    cinfo->scale_denom = (unsigned int)scaleDenominator;
    cinfo->dct_method = JDCT_ISLOW;
    cinfo->do_block_smoothing = TRUE;
    cinfo->do_fancy_upsampling = TRUE;
    cinfo->buffered_image = FALSE;
    if (cinfo->num_components == 1) {
        cinfo->out_color_space = JCS_GRAYSCALE;
    } else if (isInkColourSpace(cinfo->jpeg_color_space)) {
        /* libjpeg turns YCCK into CMYK; the ink to RGB step is ours. libjpeg cannot
         * quantize inks, so these rows come out as colour even when a palette is asked for. */
        cinfo->out_color_space = JCS_CMYK;
        session->invertedInks = cinfo->saw_Adobe_marker;
    } else if (!palette) {
        cinfo->out_color_space = SCREEN_COLOUR_SPACE;
    } else {
        cinfo->out_color_space = JCS_RGB;
        cinfo->quantize_colors = TRUE;
        cinfo->desired_number_of_colors = 256;
        cinfo->two_pass_quantize = TRUE;
        cinfo->dither_mode = JDITHER_FS;
    }
}

static void describeOutput(const struct jpeg_decompress_struct* cinfo, JpegOutputFormat* format) {
    format->width = (int)cinfo->output_width;
    format->height = (int)cinfo->output_height;
    format->paletteSize = 0;
    if (cinfo->quantize_colors) {
        format->pixelKind = JPEG_PIXELS_PALETTE8;
        format->paletteSize = cinfo->actual_number_of_colors;
        for (int i = 0; i < cinfo->actual_number_of_colors && i < 256; ++i) {
            for (int channel = 0; channel < 3; ++channel) {
                format->palette[i][channel] = cinfo->colormap[channel][i];
            }
        }
    } else if (cinfo->out_color_space == JCS_GRAYSCALE) {
        format->pixelKind = JPEG_PIXELS_GRAY8;
    } else {
        format->pixelKind = JPEG_PIXELS_RGB32;
    }
}

/* What libjpeg may use besides the output picture, so that the two together stay within the
 * budget (a progressive file keeps coefficients for the whole frame, whatever the scale). */
static void budgetWorkingMemory(JpegSession* session) {
    struct jpeg_decompress_struct* cinfo = &session->cinfo;
    jpeg_calc_output_dimensions(cinfo);
    const unsigned long long output =
        pixelBytes(cinfo->output_width, cinfo->output_height, cinfo->out_color_components);
    const unsigned long long budget = (unsigned long long)session->limits.maxMemory;
    if (output >= budget) {
        failWithText(session, "JPEG picture too large");
    }
    cinfo->mem->max_memory_to_use = (long)(budget - output);
}

int jpegSessionStart(JpegSession* session, int scaleDenominator, int palette,
                     JpegOutputFormat* format) {
    if (session->stage != STAGE_HEADER_READ) {
        return 0;
    }
    if (scaleDenominator != 1 && scaleDenominator != 2 && scaleDenominator != 4 &&
        scaleDenominator != 8) {
        strcpy(session->message, "Unsupported JPEG scale");
        return failed(session);
    }
    if (setjmp(session->jump)) {
        return failed(session);
    }
    chooseOutput(session, scaleDenominator, palette);
    budgetWorkingMemory(session);
    jpeg_start_decompress(&session->cinfo);
    describeOutput(&session->cinfo, format);
    session->stage = STAGE_STARTED;
    return 1;
}

static unsigned char inkToLight(unsigned ink, unsigned black, int inverted) {
    const unsigned light = inverted ? ink : 255u - ink;
    return (unsigned char)((light * black + 127u) / 255u);
}

/* Turns one row of CMYK samples into 32-bit screen pixels (4 bytes in, 4 bytes out). */
static void inksToRgb(const JSAMPLE* inks, unsigned char* pixel, JDIMENSION width, int inverted) {
    for (JDIMENSION x = 0; x < width; ++x, inks += 4, pixel += 4) {
        const unsigned black = inverted ? inks[3] : 255u - inks[3];
        pixel[RED_BYTE] = inkToLight(inks[0], black, inverted);
        pixel[GREEN_BYTE] = inkToLight(inks[1], black, inverted);
        pixel[BLUE_BYTE] = inkToLight(inks[2], black, inverted);
        pixel[PAD_BYTE] = 0xFF;
    }
}

/* Rows go to `pixels`, row i at (i % stripRows) rows down; each batch read is handed to `take`
 * (when given) before the strip wraps over it. A batch never wraps. */
typedef struct RowSink {
    unsigned char* pixels;
    ptrdiff_t bytesPerLine;
    JDIMENSION stripRows;
    JpegRowsTaken take;
    void* context;
} RowSink;

static JDIMENSION batchAt(const struct jpeg_decompress_struct* cinfo, const RowSink* sink) {
    const JDIMENSION first = cinfo->output_scanline;
    JDIMENSION wanted = cinfo->output_height - first;
    const JDIMENSION roomInStrip = sink->stripRows - first % sink->stripRows;
    if (wanted > ROWS_PER_READ) {
        wanted = ROWS_PER_READ;
    }
    return wanted < roomInStrip ? wanted : roomInStrip;
}

static unsigned char* rowAt(const RowSink* sink, JDIMENSION row) {
    return sink->pixels + (ptrdiff_t)(row % sink->stripRows) * sink->bytesPerLine;
}

static void handOn(const RowSink* sink, JDIMENSION first, JDIMENSION got) {
    if (sink->take) {
        sink->take(sink->context, rowAt(sink, first), (int)first, (int)got);
    }
}

static void readInkRows(JpegSession* session, const RowSink* sink) {
    struct jpeg_decompress_struct* cinfo = &session->cinfo;
    JSAMPARRAY inkRows = (*cinfo->mem->alloc_sarray)((j_common_ptr)cinfo, JPOOL_IMAGE,
                                                     cinfo->output_width * 4, ROWS_PER_READ);
    while (cinfo->output_scanline < cinfo->output_height) {
        const JDIMENSION first = cinfo->output_scanline;
        const JDIMENSION got = jpeg_read_scanlines(cinfo, inkRows, batchAt(cinfo, sink));
        if (got == 0) {
            failWithText(session, "JPEG data ended without padding");
        }
        for (JDIMENSION row = 0; row < got; ++row) {
            inksToRgb(inkRows[row], rowAt(sink, first + row), cinfo->output_width,
                      session->invertedInks);
        }
        handOn(sink, first, got);
    }
}

static void readDirectRows(JpegSession* session, const RowSink* sink) {
    struct jpeg_decompress_struct* cinfo = &session->cinfo;
    JSAMPROW rows[ROWS_PER_READ];
    while (cinfo->output_scanline < cinfo->output_height) {
        const JDIMENSION first = cinfo->output_scanline;
        const JDIMENSION wanted = batchAt(cinfo, sink);
        for (JDIMENSION row = 0; row < wanted; ++row) {
            rows[row] = rowAt(sink, first + row);
        }
        const JDIMENSION got = jpeg_read_scanlines(cinfo, rows, wanted);
        if (got == 0) {
            failWithText(session, "JPEG data ended without padding");
        }
        handOn(sink, first, got);
    }
}

static int readRows(JpegSession* session, RowSink sink) {
    if (session->stage != STAGE_STARTED) {
        return 0;
    }
    if (setjmp(session->jump)) {
        /* Every row already arrived when the damage lies behind the picture. */
        const int rowsComplete = session->cinfo.output_scanline >= session->cinfo.output_height;
        failed(session);
        return rowsComplete;
    }
    if (sink.stripRows == 0) {
        sink.stripRows = session->cinfo.output_height;
    }
    if (session->cinfo.out_color_space == JCS_CMYK && !session->keepInks) {
        readInkRows(session, &sink);
    } else {
        readDirectRows(session, &sink);
    }
    jpeg_finish_decompress(&session->cinfo);
    session->stage = STAGE_FINISHED;
    return 1;
}

int jpegSessionReadPixels(JpegSession* session, unsigned char* pixels, ptrdiff_t bytesPerLine) {
    const RowSink sink = {pixels, bytesPerLine, 0, NULL, NULL};
    return readRows(session, sink);
}

int jpegSessionReadStrips(JpegSession* session, unsigned char* strip, ptrdiff_t bytesPerLine,
                          int stripRows, JpegRowsTaken take, void* context) {
    const RowSink sink = {strip, bytesPerLine, stripRows > 0 ? (JDIMENSION)stripRows : 1, take,
                          context};
    return readRows(session, sink);
}

int jpegSessionExif(const JpegSession* session, const unsigned char** tiff, size_t* size) {
    static const unsigned char exifName[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (session->stage == STAGE_CREATED || session->stage == STAGE_FAILED) {
        return 0;
    }
    for (jpeg_saved_marker_ptr marker = session->cinfo.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length > sizeof exifName &&
            memcmp(marker->data, exifName, sizeof exifName) == 0) {
            *tiff = marker->data + sizeof exifName;
            *size = marker->data_length - sizeof exifName;
            return 1;
        }
    }
    return 0;
}

int jpegSessionColours(const JpegSession* session) {
    const struct jpeg_decompress_struct* cinfo = &session->cinfo;
    if (cinfo->num_components == 1) {
        return JPEG_COLOURS_GRAY;
    }
    if (isInkColourSpace(cinfo->jpeg_color_space)) {
        return cinfo->saw_Adobe_marker ? JPEG_COLOURS_INVERTED_INKS : JPEG_COLOURS_INKS;
    }
    return JPEG_COLOURS_RGB;
}

int jpegSessionIccProfile(const JpegSession* session, const unsigned char** profile, size_t* size) {
    if (session->stage == STAGE_CREATED || session->stage == STAGE_FAILED ||
        session->iccProfile == NULL) {
        return 0;
    }
    *profile = session->iccProfile;
    *size = session->iccProfileSize;
    return 1;
}

void jpegSessionKeepInks(JpegSession* session) {
    session->keepInks = 1;
}

const char* jpegSessionMessage(const JpegSession* session) {
    return session->message;
}

int jpegSessionWarnings(const JpegSession* session) {
    return (int)session->errors.num_warnings;
}

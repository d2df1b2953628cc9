/* SPDX-License-Identifier: GPL-3.0-or-later */
/* The system-folder library of the program. Test prepares the buffer; Oskeldar writes the
 * path of the folder that its number selects: 0 is the user's Pictures folder (the desktop's
 * PICTURES user folder, else ~/Pictures, also when that user folder is the home folder itself).
 * Every other number selects nothing. */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#define FOLDER_BUFFER_BYTES 264

__attribute__((visibility("default"))) int Test(char* buffer) {
    if (buffer) {
        buffer[0] = '\0';
    }
    return 1;
}

static int copyPath(char* buffer, const char* path) {
    const size_t length = strlen(path);
    if (length == 0 || length >= FOLDER_BUFFER_BYTES) {
        return 0;
    }
    memcpy(buffer, path, length + 1);
    return 1;
}

static int isFolder(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

/* The value of XDG_PICTURES_DIR in one line of user-dirs.dirs ("$HOME/Pictures" or an
 * absolute path, in double quotes), with $HOME replaced; 0 when the line is not that key. */
static int picturesFromLine(const char* line, const char* home, char* out, size_t size) {
    static const char key[] = "XDG_PICTURES_DIR=\"";
    line += strspn(line, " \t");
    if (strncmp(line, key, sizeof key - 1) != 0) {
        return 0;
    }
    const char* value = line + sizeof key - 1;
    const char* end = strchr(value, '"');
    if (!end) {
        return 0;
    }
    const int length = (int)(end - value);
    int written;
    if (strncmp(value, "$HOME", 5) == 0 && (value[5] == '/' || value + 5 == end)) {
        written = snprintf(out, size, "%s%.*s", home, length - 5, value + 5);
    } else if (value[0] == '/') {
        written = snprintf(out, size, "%.*s", length, value);
    } else {
        return 0;
    }
    return written > 0 && (size_t)written < size;
}

/* True when `path` names the home folder itself (trailing slashes aside): the desktop's way of
 * saying that no Pictures folder is configured. */
static int isHome(const char* path, const char* home) {
    size_t homeLength = strlen(home);
    while (homeLength > 1 && home[homeLength - 1] == '/') {
        --homeLength;
    }
    size_t pathLength = strlen(path);
    while (pathLength > 1 && path[pathLength - 1] == '/') {
        --pathLength;
    }
    return pathLength == homeLength && strncmp(path, home, homeLength) == 0;
}

/* Reads the Pictures folder from the desktop's user-dirs.dirs, as the desktop itself does; no
 * program is run, so nothing in PATH or the current folder can answer instead. */
static int picturesFromUserDirs(const char* home, char* out, size_t size) {
    char file[4096];
    const char* config = getenv("XDG_CONFIG_HOME");
    const int written = config && config[0] == '/'
                            ? snprintf(file, sizeof file, "%s/user-dirs.dirs", config)
                            : snprintf(file, sizeof file, "%s/.config/user-dirs.dirs", home);
    if (written <= 0 || (size_t)written >= sizeof file) {
        return 0;
    }
    FILE* dirs = fopen(file, "re");
    if (!dirs) {
        return 0;
    }
    char line[4096];
    int found = 0;
    while (!found && fgets(line, sizeof line, dirs)) {
        found = picturesFromLine(line, home, out, size);
    }
    fclose(dirs);
    return found && !isHome(out, home) && isFolder(out);
}

__attribute__((visibility("default"))) int Oskeldar(unsigned long long window, int folder,
                                                    char* buffer) {
    (void)window;
    char path[4096];
    if (folder != 0 || !buffer) {
        return 0;
    }
    const char* home = getenv("HOME");
    if (!home || home[0] != '/') {
        return 0;
    }
    if (!picturesFromUserDirs(home, path, sizeof path) &&
        snprintf(path, sizeof path, "%s/Pictures", home) >= (int)sizeof path) {
        return 0;
    }
    return copyPath(buffer, path);
}

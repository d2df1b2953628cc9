/* The system-folder library of the program. Test prepares the buffer; Oskeldar writes the
 * path of the folder that its number selects: 0 is the user's Pictures folder (the desktop's
 * PICTURES user folder, else ~/Pictures). Every other number selects nothing. */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>

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

/* Asks xdg-user-dir, when it is installed, for the Pictures folder. */
static int picturesFromUserDirs(char* out, size_t size) {
    FILE* pipe = popen("xdg-user-dir PICTURES 2>/dev/null", "r");
    if (!pipe) {
        return 0;
    }
    const int read = fgets(out, (int)size, pipe) != NULL;
    const int status = pclose(pipe);
    if (!read || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return 0;
    }
    out[strcspn(out, "\n")] = '\0';
    return isFolder(out);
}

__attribute__((visibility("default"))) int Oskeldar(unsigned long long window, int folder,
                                                    char* buffer) {
    (void)window;
    char path[4096];
    if (folder != 0 || !buffer) {
        return 0;
    }
    if (!picturesFromUserDirs(path, sizeof path)) {
        const char* home = getenv("HOME");
        if (!home || snprintf(path, sizeof path, "%s/Pictures", home) >= (int)sizeof path) {
            return 0;
        }
    }
    return copyPath(buffer, path);
}

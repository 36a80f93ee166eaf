// Symbols the test resource script shares with code.
#define IDR_MAIN 100
#define IDR_TOOLS 200
#define ID_FILE_NEW 0x101
#define ID_FILE_OPEN (ID_FILE_NEW + 1)
#define ID_EDIT_CUT 0x201
#define ID_EDIT_COPY 0x202

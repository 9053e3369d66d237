#define MARK 7

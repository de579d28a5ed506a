// __chkstk: the compiler calls it, with the frame size in rax, before a function allocates more
// than a page of stack. Windows commits a thread's stack one guard page at a time, so, as the real
// runtime's does, it touches each page from the current stack pointer down to the new frame's
// bottom in order. It preserves every register but the flags.
__asm__(".text\n"
        ".globl __chkstk\n"
        ".p2align 4\n"
        "__chkstk:\n"
        "  push %rcx\n"
        "  push %rax\n"
        "  cmp $0x1000, %rax\n"
        "  lea 24(%rsp), %rcx\n"  // the caller's stack pointer
        "  jb 2f\n"
        "1:\n"
        "  sub $0x1000, %rcx\n"
        "  test %rcx, (%rcx)\n"
        "  sub $0x1000, %rax\n"
        "  cmp $0x1000, %rax\n"
        "  ja 1b\n"
        "2:\n"
        "  sub %rax, %rcx\n"
        "  test %rcx, (%rcx)\n"
        "  pop %rax\n"
        "  pop %rcx\n"
        "  ret\n");

# int VantorCallCatchingMsvc(void (*body)()): calls body in a frame whose exception handler is
# VantorMsvcCatchHandler (msvc_catch.cpp). Returns 0 when body returns; when the handler catches
# an exception it unwinds to VantorMsvcCaught in this frame, and 1 is returned.
        .text
        .globl  VantorCallCatchingMsvc
        .globl  VantorMsvcCaught
        .def    VantorCallCatchingMsvc; .scl 2; .type 32; .endef
        .p2align 4
VantorCallCatchingMsvc:
        .seh_proc VantorCallCatchingMsvc
        .seh_handler VantorMsvcCatchHandler, @except
        pushq   %rbp
        .seh_pushreg %rbp
        movq    %rsp, %rbp
        .seh_setframe %rbp, 0
        subq    $32, %rsp
        .seh_stackalloc 32
        .seh_endprologue
        call    *%rcx
        xorl    %eax, %eax
        jmp     1f
# Reached with the stack pointer at this frame's establisher frame and rbp restored.
VantorMsvcCaught:
        movl    $1, %eax
1:
        leaq    0(%rbp), %rsp
        popq    %rbp
        ret
        .seh_endproc

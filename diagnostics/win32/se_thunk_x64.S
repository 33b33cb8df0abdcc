# Entered in place of a faulting instruction (se_translator.cpp sets the context's instruction
# pointer here) with every register as it was at the fault. It makes the fault look like a call:
# the pushed return address is the fault address + 1, inside the faulting instruction, so the
# unwinder finds that instruction's handlers. The SEH directives describe the frame from that
# point on; the push itself lies before the described function on purpose.
        .text
        .globl  VantorSeThunk
        .def    VantorSeThunk; .scl 2; .type 32; .endef
        .p2align 4
VantorSeThunk:
        pushq   vantorSeReturnAddress(%rip)

        .def    VantorSeThunkFrame; .scl 3; .type 32; .endef
VantorSeThunkFrame:
        .seh_proc VantorSeThunkFrame
        pushq   %rbp
        .seh_pushreg %rbp
        movq    %rsp, %rbp
        .seh_setframe %rbp, 0
        .seh_endprologue
        # The fault may come at any stack alignment; calls need 16 bytes, plus the callee's
        # 32-byte home area.
        andq    $-16, %rsp
        subq    $32, %rsp
        call    VantorRunSeTranslator
        # The translator throws; it never comes back here.
        int3
        .seh_endproc

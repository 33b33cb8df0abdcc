# Entered in place of a faulting instruction (se_translator.cpp sets the context's instruction
# pointer here) with every register as it was at the fault. It makes the fault look like a call:
# the pushed return address is the fault address + 1, inside the faulting instruction, so the
# unwinder finds that instruction's handlers. The DWARF call-frame directives describe the frame
# from that point on; the push itself lies before the described function on purpose.
        .text
        .globl  _VantorSeThunk
        .def    _VantorSeThunk; .scl 2; .type 32; .endef
        .p2align 4
_VantorSeThunk:
        pushl   _vantorSeReturnAddress

        .def    _VantorSeThunkFrame; .scl 3; .type 32; .endef
_VantorSeThunkFrame:
        .cfi_startproc
        pushl   %ebp
        .cfi_def_cfa_offset 8
        .cfi_offset %ebp, -8
        movl    %esp, %ebp
        .cfi_def_cfa_register %ebp
        # The fault may come at any stack alignment; GCC's code expects 16 bytes at calls.
        andl    $-16, %esp
        call    _VantorRunSeTranslator
        # The translator throws; it never comes back here.
        int3
        .cfi_endproc

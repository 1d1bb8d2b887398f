/* pixo_wywolaj: calls a DLL's function with 32-bit stack arguments and tells how many bytes of
 * them the function removed itself, so the bridge checks every call's convention: 0 for
 * __cdecl (the caller removes them), 4 per argument for __stdcall (the callee does). The
 * stack is put back from the frame pointer whatever the function did, so a wrong convention
 * is reported instead of corrupting the bridge.
 *
 * unsigned pixo_wywolaj(void* funkcja, const unsigned* argumenty, unsigned liczba,
 *                       unsigned* zdjete);   (__cdecl; the result is the function's EAX)
 */
        .text
        .globl  _pixo_wywolaj
        .def    _pixo_wywolaj; .scl 2; .type 32; .endef
_pixo_wywolaj:
        pushl   %ebp
        movl    %esp, %ebp
        pushl   %esi
        pushl   %edi
        movl    16(%ebp), %ecx          /* liczba */
        movl    12(%ebp), %esi          /* argumenty */
        /* The stack 16-byte aligned at the call, as compilers of either kind may assume. */
        leal    0(,%ecx,4), %eax
        movl    %esp, %edx
        subl    %eax, %edx
        andl    $-16, %edx
        addl    %eax, %edx
        movl    %edx, %esp
1:      testl   %ecx, %ecx              /* pushed last to first: the first lies lowest */
        jz      2f
        decl    %ecx
        pushl   (%esi,%ecx,4)
        jmp     1b
2:      movl    %esp, %edi              /* where the arguments begin; EDI survives the call */
        call    *8(%ebp)
        movl    %esp, %ecx
        subl    %edi, %ecx              /* bytes the function removed */
        movl    20(%ebp), %edx
        movl    %ecx, (%edx)
        leal    -8(%ebp), %esp
        popl    %edi
        popl    %esi
        popl    %ebp
        ret

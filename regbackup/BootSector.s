# The boot code of the emergency floppy (BootDisk.cpp holds its bytes):
# a FAT12 boot sector that loads NTLDR from the root folder to 2000:0000.
# Assembled with: as --32 BootSector.s && ld -m elf_i386 -Ttext 0x7C00 --oformat binary

.intel_syntax noprefix
.code16
.text
.globl _start
_start:
    jmp short main
    nop
    .ascii "MSDOS5.0"
    .word 512
    .byte 1
    .word 1
    .byte 2
    .word 224
    .word 2880
    .byte 0xF0
    .word 9
    .word 18
    .word 2
    .long 0
    .long 0
drive: .byte 0
    .byte 0
    .byte 0x29
    .long 0xE028179C
    .ascii "NO NAME    "
    .ascii "FAT12   "
main:
    cli
    xor ax, ax
    mov ds, ax
    mov es, ax
    mov ss, ax
    mov sp, 0x7C00
    sti
    cld
    mov [drive], dl
    mov ax, 19
    mov cx, 14
    mov bx, 0x7E00
    call read_sectors
    mov di, 0x7E00
    mov dx, 224
find:
    mov si, offset ntldr
    mov cx, 11
    push di
    repe cmpsb
    pop di
    je found
    add di, 32
    dec dx
    jnz find
    mov si, offset msg_remove
    jmp fail
found:
    mov ax, [di+26]
    push ax
    mov ax, 1
    mov cx, 9
    mov bx, 0x7E00
    call read_sectors
    pop ax
    mov bx, 0x2000
    mov es, bx
    xor bx, bx
next_cluster:
    push ax
    add ax, 31
    mov cx, 1
    call read_sectors
    pop ax
    mov si, ax
    shr si, 1
    add si, ax
    mov dx, [si+0x7E00]
    test al, 1
    jz even
    shr dx, 4
even:
    and dx, 0x0FFF
    mov ax, dx
    cmp ax, 0x0FF8
    jb next_cluster
    mov dl, [drive]
    ljmp 0x2000, 0x0000

read_sectors:
    push ax
    push cx
    xor dx, dx
    mov si, 18
    div si
    mov cl, dl
    inc cl
    mov dh, al
    and dh, 1
    shr ax, 1
    mov ch, al
    mov dl, [drive]
    mov di, 5
retry:
    mov ax, 0x0201
    int 0x13
    jnc read_ok
    xor ah, ah
    int 0x13
    dec di
    jnz retry
    mov si, offset msg_disk
    jmp fail
read_ok:
    pop cx
    pop ax
    inc ax
    add bx, 512
    jnz no_wrap
    mov dx, es
    add dh, 0x10
    mov es, dx
no_wrap:
    loop read_sectors
    ret

fail:
    call print
    mov si, offset msg_key
    call print
    xor ah, ah
    int 0x16
    int 0x19

print:
    lodsb
    or al, al
    jz print_done
    mov ah, 0x0E
    mov bx, 7
    int 0x10
    jmp print
print_done:
    ret

ntldr:      .ascii "NTLDR      "
msg_remove: .asciz "\r\nRemove disks or other media.\r\n"
msg_disk:   .asciz "\r\nDisk error\r\n"
msg_key:    .asciz "Press any key to restart\r\n"

    .org 510
    .byte 0x55, 0xAA

/* The firmware images, assembled byte for byte into the program's read-only data. The build
   passes each image's path as RXT9_IMAGE_<NAME>_FILE and re-assembles this file whenever one
   of the images changes. */

#define EMBED_IMAGE(symbol, file) \
    .global symbol;               \
    .global symbol##_end;         \
    .balign 16;                   \
    symbol:                       \
    .incbin file;                 \
    symbol##_end:

    .section .rodata
    EMBED_IMAGE(rxt9_image_data1m, RXT9_IMAGE_DATA1M_FILE)
    EMBED_IMAGE(rxt9_image_data2t, RXT9_IMAGE_DATA2T_FILE)
    EMBED_IMAGE(rxt9_image_data4m, RXT9_IMAGE_DATA4M_FILE)

#if defined(__ELF__)
    /* No code here needs an executable stack. */
    .section .note.GNU-stack, "", %progbits
#endif

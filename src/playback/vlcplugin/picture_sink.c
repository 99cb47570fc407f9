/*
 * A video output for libVLC that hands the decoded pictures to the
 * application through the same picture callbacks as libVLC's memory output
 * (libvlc_video_set_callbacks and libvlc_video_set_format_callbacks), which
 * it stands in for.
 *
 * The memory output always shows its whole buffer: given the visible size
 * of a picture whose decoder buffer is taller (1090 lines for 1080), libVLC
 * puts a converter in front of it that copies every picture into the
 * application's buffer; given the buffer's size, it stretches the picture
 * to fill it. This output keeps the decoder's buffer size and visible area,
 * so nothing needs converting, and it offers as many buffers as the
 * decoder asks for, so that the decoder decodes straight into the
 * application's buffers and nothing is copied at all.
 *
 * It only takes over when the application asked for the callbacks, with a
 * format callback, and answered it with the picture's visible size;
 * anything else is left to the memory output.
 */
#include <stdlib.h>
#include <string.h>

#include <vlc_common.h>
#include <vlc_picture_pool.h>
#include <vlc_plugin.h>
#include <vlc_vout_display.h>

static int Open(vlc_object_t *);
static void Close(vlc_object_t *);

vlc_module_begin()
    set_shortname("picture sink")
    set_description("Decoded pictures to the application's own buffers")
    set_category(CAT_VIDEO)
    set_subcategory(SUBCAT_VIDEO_VOUT)
    /* Asked for by the memory output's name, it is tried before it. */
    set_capability("vout display", 1)
    add_shortcut("vmem")
    set_callbacks(Open, Close)
vlc_module_end()

typedef void *(*lock_cb)(void *opaque, void **planes);
typedef void (*unlock_cb)(void *opaque, void *id, void *const *planes);
typedef void (*display_cb)(void *opaque, void *id);
typedef unsigned (*format_cb)(void **opaque, char *chroma, unsigned *width, unsigned *height, unsigned *pitches,
                              unsigned *lines);
typedef void (*cleanup_cb)(void *opaque);

struct vout_display_sys_t {
    picture_pool_t *pool;
    unsigned buffers;
    void *opaque;
    lock_cb lock;
    unlock_cb unlock;
    display_cb display;
    cleanup_cb cleanup;
    unsigned pitches[PICTURE_PLANE_MAX];
    unsigned lines[PICTURE_PLANE_MAX];
};

struct picture_sys_t {
    vout_display_sys_t *sys;
    void *id;
};

static int LockPicture(picture_t *picture)
{
    picture_sys_t *own = picture->p_sys;
    void *planes[PICTURE_PLANE_MAX] = { NULL };
    own->id = own->sys->lock(own->sys->opaque, planes);
    for (int i = 0; i < picture->i_planes; i++) {
        if (planes[i] == NULL)
            return VLC_ENOMEM;
        picture->p[i].p_pixels = planes[i];
    }
    return VLC_SUCCESS;
}

static void UnlockPicture(picture_t *picture)
{
    picture_sys_t *own = picture->p_sys;
    void *planes[PICTURE_PLANE_MAX] = { NULL };
    for (int i = 0; i < picture->i_planes; i++)
        planes[i] = picture->p[i].p_pixels;
    if (own->sys->unlock != NULL)
        own->sys->unlock(own->sys->opaque, own->id, planes);
    own->id = NULL;
}

static picture_t *NewPicture(vout_display_t *vd)
{
    vout_display_sys_t *sys = vd->sys;
    picture_sys_t *own = malloc(sizeof(*own));
    if (own == NULL)
        return NULL;
    own->sys = sys;
    own->id = NULL;
    picture_resource_t resource;
    memset(&resource, 0, sizeof(resource));
    /* Freed with the picture. */
    resource.p_sys = own;
    for (int i = 0; i < PICTURE_PLANE_MAX; i++) {
        /* The pixels come from the lock callback, picture by picture. */
        resource.p[i].p_pixels = NULL;
        resource.p[i].i_lines = (int)sys->lines[i];
        resource.p[i].i_pitch = (int)sys->pitches[i];
    }
    picture_t *picture = picture_NewFromResource(&vd->fmt, &resource);
    if (picture == NULL)
        free(own);
    return picture;
}

static picture_pool_t *Pool(vout_display_t *vd, unsigned count)
{
    vout_display_sys_t *sys = vd->sys;
    if (sys->pool != NULL)
        return sys->pool;
    if (count > sys->buffers)
        count = sys->buffers;
    /* The pool keeps a bit for each picture. */
    if (count > 64)
        count = 64;
    picture_t *pictures[64];
    unsigned made = 0;
    while (made < count) {
        picture_t *picture = NewPicture(vd);
        if (picture == NULL)
            break;
        pictures[made++] = picture;
    }
    if (made == 0)
        return NULL;
    picture_pool_configuration_t config;
    memset(&config, 0, sizeof(config));
    config.picture_count = made;
    config.picture = pictures;
    config.lock = LockPicture;
    config.unlock = UnlockPicture;
    sys->pool = picture_pool_NewExtended(&config);
    if (sys->pool == NULL) {
        for (unsigned i = 0; i < made; i++)
            picture_Release(pictures[i]);
    }
    return sys->pool;
}

static void Display(vout_display_t *vd, picture_t *picture, subpicture_t *subpicture)
{
    vout_display_sys_t *sys = vd->sys;
    VLC_UNUSED(subpicture);
    if (sys->display != NULL)
        sys->display(sys->opaque, picture->p_sys->id);
    picture_Release(picture);
}

static int Control(vout_display_t *vd, int query, va_list args)
{
    switch (query) {
    case VOUT_DISPLAY_CHANGE_DISPLAY_SIZE: {
        const vout_display_cfg_t *cfg = va_arg(args, const vout_display_cfg_t *);
        if (cfg->display.width != vd->fmt.i_visible_width || cfg->display.height != vd->fmt.i_visible_height)
            return VLC_EGENERIC;
        return VLC_SUCCESS;
    }
    default:
        return VLC_EGENERIC;
    }
}

static int Open(vlc_object_t *object)
{
    vout_display_t *vd = (vout_display_t *)object;
    lock_cb lock = var_InheritAddress(vd, "vmem-lock");
    format_cb setup = var_InheritAddress(vd, "vmem-setup");
    video_format_t fmt = vd->fmt;
    /* A fixed format, or a picture placed away from the buffer's corner,
     * is the memory output's. */
    if (lock == NULL || setup == NULL || fmt.i_x_offset != 0 || fmt.i_y_offset != 0)
        return VLC_EGENERIC;

    vout_display_sys_t *sys = calloc(1, sizeof(*sys));
    if (sys == NULL)
        return VLC_ENOMEM;
    sys->lock = lock;
    sys->unlock = var_InheritAddress(vd, "vmem-unlock");
    sys->display = var_InheritAddress(vd, "vmem-display");
    sys->cleanup = var_InheritAddress(vd, "vmem-cleanup");
    sys->opaque = var_InheritAddress(vd, "vmem-data");

    char chroma[5];
    memcpy(chroma, &fmt.i_chroma, 4);
    chroma[4] = '\0';
    unsigned width = fmt.i_width;
    unsigned height = fmt.i_height;
    sys->buffers = setup(&sys->opaque, chroma, &width, &height, sys->pitches, sys->lines);
    if (sys->buffers == 0) {
        free(sys);
        return VLC_EGENERIC;
    }
    const vlc_fourcc_t asked = vlc_fourcc_GetCodecFromString(VIDEO_ES, chroma);
    const bool keepsVisibleArea = width == fmt.i_visible_width && height == fmt.i_visible_height;
    if (asked == 0 || !keepsVisibleArea) {
        /* The callbacks were set up for the memory output; let it have them. */
        if (sys->cleanup != NULL)
            sys->cleanup(sys->opaque);
        free(sys);
        return VLC_EGENERIC;
    }
    fmt.i_chroma = asked;
    fmt.i_rmask = fmt.i_gmask = fmt.i_bmask = 0;

    vd->sys = sys;
    vd->fmt = fmt;
    vd->pool = Pool;
    vd->prepare = NULL;
    vd->display = Display;
    vd->control = Control;
    vout_display_SendEventDisplaySize(vd, (int)fmt.i_visible_width, (int)fmt.i_visible_height);
    return VLC_SUCCESS;
}

static void Close(vlc_object_t *object)
{
    vout_display_t *vd = (vout_display_t *)object;
    vout_display_sys_t *sys = vd->sys;
    if (sys->cleanup != NULL)
        sys->cleanup(sys->opaque);
    if (sys->pool != NULL)
        picture_pool_Release(sys->pool);
    free(sys);
}

/* A plain window that ignores every key and button and waits for events until it is
 * closed or killed: a view for a compositor to hang an idle inhibitor on. */
#include <SDL.h>

int main(int argc, char **argv) {
    (void)argc, (void)argv;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window *window = SDL_CreateWindow("plain window", 0, 0, 160, 120, 0);
    if (!window) return 1;
    SDL_Surface *surface = SDL_GetWindowSurface(window);
    if (surface) {
        SDL_FillRect(surface, NULL, SDL_MapRGB(surface->format, 0, 96, 0));
        SDL_UpdateWindowSurface(window);
    }
    SDL_Event event;
    while (SDL_WaitEvent(&event) && event.type != SDL_QUIT) {
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED && surface) {
            SDL_UpdateWindowSurface(window);
        }
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}

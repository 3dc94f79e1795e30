// The operating system's media keys and "now playing" panel: the Media Session API, its
// actions mapped onto the player's commands.

const session = typeof navigator !== 'undefined' ? navigator.mediaSession : undefined;

// `actions`: {play, pause, stop, previous, next, seekTo(seconds), seekBy(seconds)}.
export function connectMediaSession(actions) {
  if (!session) return false;
  const handlers = {
    play: () => actions.play(),
    pause: () => actions.pause(),
    stop: () => actions.stop(),
    previoustrack: () => actions.previous(),
    nexttrack: () => actions.next(),
    seekto: (details) => actions.seekTo(details.seekTime),
    seekbackward: (details) => actions.seekBy(-(details.seekOffset || 5)),
    seekforward: (details) => actions.seekBy(details.seekOffset || 5),
  };
  for (const [action, handler] of Object.entries(handlers)) {
    try {
      session.setActionHandler(action, handler);
    } catch (e) {
      // An action this browser does not know: the others still work.
    }
  }
  return true;
}

let shownTitle = null;

// What plays: its name as the title, and where it stands when it has a length.
export function showNowPlaying(title, state, position, duration) {
  if (!session) return;
  if (title !== shownTitle) {
    shownTitle = title;
    session.metadata = title && typeof MediaMetadata === 'function'
      ? new MediaMetadata({title, artist: 'Quenari Tolvek'}) : null;
  }
  session.playbackState = state;
  if (session.setPositionState) {
    try {
      if (duration > 0) {
        session.setPositionState({duration, position: Math.min(position, duration), playbackRate: 1});
      } else {
        session.setPositionState();
      }
    } catch (e) {
      // A position the browser refuses (a live source): no position shown.
    }
  }
}

// The page around the show: the canvas at the window's size, data.ssd downloaded with a
// progress bar, the music started by the first click or key (browsers allow sound only
// then), full screen on double-click. The page's own record of frames and errors lies in
// #stats for tests and measurements.
'use strict';

const canvas = document.getElementById('canvas');
const stats = { loadStart: performance.now(), firstFrameMs: -1, firstAnimatedMs: -1, frames: 0, errors: [] };
const statsElement = document.getElementById('stats');

function report() {
  const seconds = (performance.now() - stats.loadStart) / 1000;
  statsElement.textContent = JSON.stringify({
    frames: stats.frames, firstFrameMs: Math.round(stats.firstFrameMs),
    firstAnimatedMs: Math.round(stats.firstAnimatedMs), seconds: seconds,
    errors: stats.errors,
  });
}

const reportError = console.error.bind(console);
console.error = function (...parts) {
  stats.errors.push(parts.join(' '));
  report();
  reportError(...parts);
};
window.addEventListener('error', (e) => { stats.errors.push(String(e.message)); report(); });
window.addEventListener('unhandledrejection', (e) => { stats.errors.push(String(e.reason)); report(); });

function fitCanvas() {
  canvas.width = Math.max(1, Math.round(window.innerWidth));
  canvas.height = Math.max(1, Math.round(window.innerHeight));
}
fitCanvas();
window.addEventListener('resize', fitCanvas);
canvas.addEventListener('dblclick', () => {
  if (document.fullscreenElement) document.exitFullscreen();
  else document.documentElement.requestFullscreen().catch(() => {});
});

// Music: the bytes of "music.ogg" arrive from the show; they play, looped, once the
// viewer has given the page a gesture.
const music = { bytes: null, volume: 1, allowed: false, playing: false };
function startMusic() {
  if (!music.bytes || !music.allowed || music.playing) return;
  music.playing = true;
  const AudioContextType = window.AudioContext || window.webkitAudioContext;
  if (!AudioContextType) return;
  const context = new AudioContextType();
  context.decodeAudioData(music.bytes.buffer).then((buffer) => {
    const source = context.createBufferSource();
    const gain = context.createGain();
    gain.gain.value = music.volume;
    source.buffer = buffer;
    source.loop = true;
    source.connect(gain).connect(context.destination);
    source.start();
  }, () => console.warn('voidrift: the browser cannot decode the music'));
}
const hint = document.getElementById('hint');
function hideHint() {
  hint.style.opacity = 0;
  setTimeout(() => { hint.style.display = 'none'; }, 2500);
}
// The hint leaves the bars black again after a few seconds, gesture or not.
setTimeout(hideHint, 4000);
function allowMusic() {
  music.allowed = true;
  hideHint();
  startMusic();
}
window.addEventListener('click', allowMusic, { once: true });
window.addEventListener('keydown', allowMusic, { once: true });

function downloadData(onProgress) {
  return fetch('data.ssd').then((response) => {
    if (!response.ok) throw new Error('data.ssd: HTTP ' + response.status);
    const total = Number(response.headers.get('Content-Length')) || 0;
    const reader = response.body.getReader();
    const chunks = [];
    let received = 0;
    function pump() {
      return reader.read().then(({ done, value }) => {
        if (done) {
          const bytes = new Uint8Array(received);
          let at = 0;
          for (const chunk of chunks) { bytes.set(chunk, at); at += chunk.length; }
          return bytes;
        }
        chunks.push(value);
        received += value.length;
        onProgress(received, total);
        return pump();
      });
    }
    return pump();
  });
}

let runtimeReady;
const runtime = new Promise((resolve) => { runtimeReady = resolve; });

var Module = {
  canvas: canvas,
  print: (text) => console.log(text),
  printErr: (text) => console.error(text),
  onRuntimeInitialized: () => runtimeReady(),
  playMusic: (bytes, volume) => {
    music.bytes = bytes;
    music.volume = volume;
    startMusic();
  },
  onFrame: () => {
    if (stats.frames === 0) {
      stats.firstFrameMs = performance.now() - stats.loadStart;
      document.getElementById('loading').style.display = 'none';
    }
    // The first frame is the still loading picture; the next one moves.
    if (stats.frames === 1) stats.firstAnimatedMs = performance.now() - stats.loadStart;
    stats.frames += 1;
    report();
  },
};

const status = document.getElementById('status');
const fill = document.getElementById('fill');
Promise.all([
  downloadData((received, total) => {
    const share = total > 0 ? received / total : 0;
    fill.style.width = (share * 100).toFixed(1) + '%';
    status.textContent = 'Loading the show… ' + Math.round(received / 1024) + ' KiB' +
      (total > 0 ? ' of ' + Math.round(total / 1024) + ' KiB' : '');
  }),
  runtime,
]).then(([data]) => {
  status.textContent = 'Starting…';
  Module.FS.mkdir('/data');
  Module.FS.writeFile('/data/data.ssd', data);
  // The show runs as in a screensaver daemon's window: it follows the canvas's size and
  // leaves the input to the page.
  const args = ['--window-id', '1', '--data', '/data', '--max-fps', '0'];
  // ?seed=N and ?scene=WORLD:FILE pick the opening, as on the command line.
  const query = new URLSearchParams(window.location.search);
  for (const name of ['seed', 'scene']) {
    if (query.has(name)) args.push('--' + name, query.get(name));
  }
  Module.callMain(args);
}).catch((error) => {
  status.textContent = 'The show cannot start: ' + error.message;
  console.error('voidrift: ' + error.message);
});

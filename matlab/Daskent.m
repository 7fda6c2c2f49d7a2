%DASKENT Elastic response spectra of a record with two horizontal components.
%   SPECTRA = DASKENT(AG1, AG2, DT, M, ZETA, T) integrates, for every natural period T(i) and
%   every damping ratio ZETA(j), the linear oscillator of mass M, equally stiff and damped in
%   every horizontal direction, under the two ground accelerations AG1 and AG2 at once, and
%   returns in the structure SPECTRA the peaks over time of the resultant (vector magnitude)
%   responses sqrt(x1^2 + x2^2).
%
%   SPECTRA = DASKENT(AG1, AG2, DT, M, ZETA, T, METHOD) chooses the time integration:
%     'recform'  exact recursive solution for records linear between samples (default)
%     'newmark'  Newmark's constant average acceleration method (beta = 1/4, gamma = 1/2)
%
%   SPECTRA = DASKENT(AG1, AG2, DT, M, ZETA, TSTART, TEND, NT) and
%   SPECTRA = DASKENT(AG1, AG2, DT, M, ZETA, TSTART, TEND, NT, METHOD) use the NT periods
%   TSTART, TSTART + DT_T, ... with DT_T = (TEND - TSTART)/(NT - 1), accumulated as a running
%   sum (NT is truncated toward zero and must be at least 1).
%
%   Inputs
%     AG1, AG2  the two horizontal ground accelerations, real double vectors (any orientation),
%               in any one unit; a longer one is cut to the length of the shorter
%     DT        time step of the records, in seconds
%     M         mass (its unit sets the unit of the forces)
%     ZETA      damping ratios, a vector (0.05 for 5 %)
%     T         natural periods in seconds, a vector
%
%   Each analysis covers the record and a free-vibration tail long enough for the motion to decay
%   to 1 % (at most nine record lengths more). Accelerations come out in the unit of AG1,
%   displacements in that unit times s^2, velocities in that unit times s.
%
%   Output fields (matrices are numel(T)-by-numel(ZETA): row i is T(i), column j is ZETA(j))
%     pga     peak resultant ground acceleration (not the larger component peak)
%     mass    copy of M
%     zeta    copy of ZETA
%     T       the periods (copy of T, or the generated column)
%     f       natural frequencies 1./T, in Hz (a column)
%     dsp     peak resultant relative displacement
%     vel     peak resultant relative velocity
%     acc     peak resultant relative acceleration
%     totAcc  peak resultant absolute (total) acceleration
%     psdVel  pseudo-velocity, omega*dsp
%     psdAcc  pseudo-acceleration, omega^2*dsp
%     resDsp  magnitude of the displacement vector at the end of the analysis
%     iFrc    peak resultant inertial force, M*totAcc
%     dFrc    damping coefficient 2*zeta*sqrt(k*M) times the peak resultant velocity
%     rFrc    peak resultant restoring force
%
%   Example
%     dt = 0.01; t = (0:1999)'*dt;
%     ag1 = 0.3*9.81*sin(2*pi*1.5*t).*exp(-0.3*t);
%     ag2 = 0.2*9.81*cos(2*pi*0.9*t).*exp(-0.2*t);
%     s = Daskent(ag1, ag2, dt, 1, 0.05, 0.05, 4, 80);
%     loglog(s.T, s.psdAcc/9.81); xlabel('T (s)'); ylabel('resultant S_a (g)');
%
%   See also QUORVEL, GRANWICK, VINTARROW, BUILD_MEX.

error('Daskent: the MEX file is not built; run build_mex in the matlab folder');
